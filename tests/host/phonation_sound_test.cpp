// The kept sound of a confirmed phonation: which samples a span gives
// back (lead-in, the ring's bound, a recording started again) and the WAV
// file they are written as.
#include "phonation/sound_keeper.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

namespace phonation {
namespace {

// 1000 samples a second, so one sample is one millisecond; each sample
// holds its own position in the recording.
constexpr int kRate = 1000;

SoundKeeper recorded(uint32_t keptMs, int samples, int bufferSize = 62) {
    SoundKeeper keeper(kRate, keptMs);
    keeper.begin();
    std::vector<int16_t> all(static_cast<size_t>(samples));
    std::iota(all.begin(), all.end(), int16_t{0});
    for (int at = 0; at < samples; at += bufferSize)
        keeper.add(all.data() + at, static_cast<size_t>(std::min(bufferSize, samples - at)));
    return keeper;
}

TEST(SoundKeeper, APhonationKeepsHalfASecondBeforeItsStartToItsEnd) {
    const struct {
        const char* what;
        uint32_t keptMs;
        int recorded;
        uint32_t startMs, endMs;
        int firstSample, count;
        int buffer = 62;
    } cases[] = {
        {"in the middle of a recording", 20000, 9000, 3000, 6500, 2500, 4000},
        {"started at once: the lead-in is what there was", 20000, 9000, 200, 3000, 0, 3000},
        {"ended past what was recorded", 20000, 4000, 1000, 9000, 500, 3500},
        {"longer than the ring: its last part only", 3000, 9000, 1000, 8000, 6000, 2000},
        {"the ring wrapped many times", 1500, 30000, 28000, 29900, 28500, 1400},
        {"nothing recorded there", 20000, 2000, 5000, 6000, 0, 0},
        {"a buffer that runs over the ring's end", 1000, 1700, 1200, 1700, 700, 1000, 700},
        {"one buffer longer than the ring", 1500, 4000, 3000, 4000, 2500, 1500, 4000},
    };
    for (const auto& c : cases) {
        const std::vector<int16_t> kept = recorded(c.keptMs, c.recorded, c.buffer).phonation(c.startMs, c.endMs);
        ASSERT_EQ(static_cast<int>(kept.size()), c.count) << c.what;
        for (size_t i = 0; i < kept.size(); ++i)
            ASSERT_EQ(kept[i], static_cast<int16_t>(c.firstSample + static_cast<int>(i))) << c.what << " at " << i;
    }
}

TEST(SoundKeeper, ANewRecordingStartsItsClockAtZero) {
    SoundKeeper keeper = recorded(20000, 5000);
    keeper.begin();
    const std::vector<int16_t> later(800, 7);
    keeper.add(later.data(), later.size());
    EXPECT_EQ(keeper.span(0, 5000), later);
}

uint32_t le32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
    return v;
}
uint16_t le16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

TEST(WavFile, HoldsSixteenBitMonoPcmAtTheCaptureRate) {
    const std::vector<int16_t> samples{0, 1, -1, 32767, -32768};
    const std::string wav = wavFile(samples, 11025);
    ASSERT_EQ(wav.size(), 44u + 10u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(wav, 16), 16u);
    EXPECT_EQ(le16(wav, 20), 1u);  // PCM
    EXPECT_EQ(le16(wav, 22), 1u);  // mono
    EXPECT_EQ(le32(wav, 24), 11025u);
    EXPECT_EQ(le32(wav, 28), 22050u);
    EXPECT_EQ(le16(wav, 32), 2u);
    EXPECT_EQ(le16(wav, 34), 16u);
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(le32(wav, 40), 10u);
    for (size_t i = 0; i < samples.size(); ++i) EXPECT_EQ(static_cast<int16_t>(le16(wav, 44 + 2 * i)), samples[i]);
}

}  // namespace
}  // namespace phonation
