// The sounds the walkthrough and the end-to-end tests play into the
// virtual microphone, made here so nothing recorded has to be shipped:
// a quiet room and a sustained vowel, 16-bit mono at 11025 Hz.
#pragma once

#include <cstdint>
#include <vector>

namespace uidriver {

inline constexpr int kSampleRate = 11025;

// Low, even background noise (about 35 dB after the program's filter).
std::vector<int16_t> roomNoise(int ms, uint32_t seed = 1);

// A sung "a" on 150 Hz with a little vibrato and the first formants, at a
// steady loudness (about 60-70 dB), with 30 ms fades so it starts and ends
// cleanly.
std::vector<int16_t> sustainedVowel(int ms, double amplitude = 9000.0);

// Silence, to put space between sounds.
std::vector<int16_t> silence(int ms);

// Two sounds played together; the result is as long as the longer one.
std::vector<int16_t> mixed(const std::vector<int16_t>& a, const std::vector<int16_t>& b);

// The sound after `ms` of silence.  A playback that has just been opened
// may swallow its first moments; the lead-in keeps them out of the sound.
std::vector<int16_t> withLeadIn(const std::vector<int16_t>& sound, int ms = 800);

}  // namespace uidriver
