// What the microphone heard, as the soak judges a program's time against
// it: the loud stretches of a recording, each from its first loud moment
// to its last.  A playback that falls behind for a moment leaves a short
// hole in a vowel and makes it last longer at the microphone than it was
// written; the program can only be asked to time what it heard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace uidriver {

class HeardSounds {
public:
    struct Sound {
        uint64_t start = 0, end = 0;  // samples from the recording's start
        uint64_t holesMs = 0;         // quiet moments bridged inside it, in all
        uint64_t longestHoleMs = 0;
        int lengthMs() const;
    };

    // Adds the next samples of the recording (16-bit mono at kSampleRate).
    void hear(const int16_t* samples, size_t count);
    uint64_t samplesHeard() const { return heard_; }
    // Sounds that have ended: quiet for longer than a bridged hole.
    const std::vector<Sound>& sounds() const { return sounds_; }
    // The first ended sound that started at or after `from` and lasted at
    // least `shortestMs`; nullptr when none has yet.
    const Sound* firstSoundFrom(uint64_t from, int shortestMs) const;

private:
    void window(bool loud, uint64_t windowStart);

    uint64_t heard_ = 0;
    uint64_t windowStart_ = 0;
    int64_t windowSum_ = 0;
    int windowFill_ = 0;
    bool inSound_ = false;
    Sound current_;
    std::vector<Sound> sounds_;
};

}  // namespace uidriver
