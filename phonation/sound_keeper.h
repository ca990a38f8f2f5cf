// The sound of the running recording, kept so that the phonation a
// therapist confirms can be heard again: the last ten and a half minutes
// of the recording's samples, in a ring, addressed on the recording's own
// clock (the position of each sample in it), the clock the phonation
// timer uses.  A confirmed phonation is kept from half a second before its
// start to its end; one longer than ten minutes keeps its last ten.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace phonation {

inline constexpr uint32_t kLeadInMs = 500;
inline constexpr uint32_t kLongestKeptMs = 10 * 60 * 1000;

class SoundKeeper {
public:
    explicit SoundKeeper(int sampleRate, uint32_t keptMs = kLongestKeptMs + kLeadInMs);

    // A new recording: its clock starts at zero and nothing is kept.
    void begin();
    // The next samples of the recording, in order.
    void add(const int16_t* samples, std::size_t count);
    // The samples from `fromMs` to `toMs` of the recording, as far as they
    // are still kept (earlier ones have been overwritten).
    std::vector<int16_t> span(uint32_t fromMs, uint32_t toMs) const;
    // What a confirmed phonation keeps: from half a second before its start.
    std::vector<int16_t> phonation(uint32_t startMs, uint32_t endMs) const {
        return span(startMs > kLeadInMs ? startMs - kLeadInMs : 0, endMs);
    }
    int sampleRate() const { return sampleRate_; }

private:
    uint64_t sampleAt(uint32_t ms) const;

    int sampleRate_;
    std::vector<int16_t> ring_;
    uint64_t total_ = 0;  // samples added since begin()
};

// A WAV file of 16-bit mono PCM samples: the RIFF header, then the data.
std::string wavFile(const std::vector<int16_t>& samples, int sampleRate);

}  // namespace phonation
