// The soak's ear: the lengths of the sounds the microphone heard.
#include "tests/uidriver/heard_sounds.h"

#include <gtest/gtest.h>

#include "tests/uidriver/samples.h"

namespace uidriver {
namespace {

std::vector<int16_t> then(std::vector<int16_t> a, const std::vector<int16_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Fed in pieces of an odd size, as a recorder's buffers would not line up
// with the ear's windows.
HeardSounds heardFrom(const std::vector<int16_t>& sound) {
    HeardSounds ear;
    for (size_t at = 0; at < sound.size(); at += 331)
        ear.hear(sound.data() + at, std::min<size_t>(331, sound.size() - at));
    return ear;
}

struct Case {
    const char* name;
    std::vector<int16_t> sound;
    // Each within 15 ms: the ear listens in 5 ms windows, and the vowel fades in and out.
    std::vector<int> lengthsMs;
    std::vector<int> holesMs;  // in all
    std::vector<int> longestHolesMs;
};

TEST(HeardSounds, FindsEachSoundFromItsFirstLoudMomentToItsLast) {
    const auto quiet = [](int ms) { return roomNoise(ms); };
    const Case cases[] = {
        {"a vowel after a quiet lead-in", then(quiet(800), then(sustainedVowel(3000), quiet(1000))), {3000}, {0}, {0}},
        {"a vowel with two holes counts them",
         then(sustainedVowel(2000), then(silence(40), then(sustainedVowel(1000), then(silence(100),
              then(sustainedVowel(1000), quiet(1000)))))), {4140}, {140}, {100}},
        {"half a second of quiet ends a sound",
         then(sustainedVowel(2000), then(quiet(500), then(sustainedVowel(2500), quiet(1000)))), {2000, 2500}, {0, 0},
         {0, 0}},
        {"room noise alone is no sound", quiet(5000), {}, {}, {}},
        {"a sound still going has not ended", then(quiet(500), sustainedVowel(3000)), {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HeardSounds ear = heardFrom(c.sound);
        ASSERT_EQ(ear.sounds().size(), c.lengthsMs.size());
        for (size_t i = 0; i < c.lengthsMs.size(); ++i) {
            EXPECT_NEAR(ear.sounds()[i].lengthMs(), c.lengthsMs[i], 15);
            EXPECT_NEAR(static_cast<double>(ear.sounds()[i].holesMs), c.holesMs[i], 15);
            EXPECT_NEAR(static_cast<double>(ear.sounds()[i].longestHoleMs), c.longestHolesMs[i], 15);
        }
        EXPECT_EQ(ear.samplesHeard(), c.sound.size());
    }
}

TEST(HeardSounds, TheFirstSoundFromAMomentSkipsEarlierAndShorterOnes) {
    const auto sound = then(sustainedVowel(3000), then(roomNoise(500), then(sustainedVowel(400),
                       then(roomNoise(500), then(sustainedVowel(2500), roomNoise(500))))));
    const HeardSounds ear = heardFrom(sound);
    ASSERT_EQ(ear.sounds().size(), 3u);
    const uint64_t afterFirst = ear.sounds()[0].end;
    const HeardSounds::Sound* next = ear.firstSoundFrom(afterFirst, 700);
    ASSERT_NE(next, nullptr);
    EXPECT_NEAR(next->lengthMs(), 2500, 15);
    EXPECT_EQ(ear.firstSoundFrom(0, 700), &ear.sounds()[0]);
    EXPECT_EQ(ear.firstSoundFrom(ear.sounds()[2].start + 1, 700), nullptr);
}

}  // namespace
}  // namespace uidriver
