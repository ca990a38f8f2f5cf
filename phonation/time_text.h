// The phonation time as the therapist reads it: minutes, seconds and
// hundredths, "mm:ss:hh".  The confirmation box, the result files, the HUD
// and the adult time box all print it through here, so they always agree.
#pragma once

#include <cstdint>
#include <string>

namespace phonation {

struct TimeParts {
    int32_t minutes = 0;
    int32_t seconds = 0;     // 0-59
    char fraction[3] = {};   // two digits of hundredths, NUL-terminated
};

// Splits a time in whole milliseconds.  The fraction is true hundredths
// (ms mod 1000 / 10), so 5,045 ms is 00:05:04 and never 00:05:45.
TimeParts splitTime(uint32_t ms);

// From the float the phonation timer keeps: truncated to whole ms first;
// negative or non-finite values read as 0.
TimeParts splitTime(float elapsedMs);

// "%02d:%02d:%s": 8 characters below 100 minutes.
std::string timeText(const TimeParts& parts);
inline std::string timeText(uint32_t ms) { return timeText(splitTime(ms)); }

// The confirmation asked when a phonation was taken:
// "Tempo Obtido: 00:07:35\nConfirma este Tempo?".
std::string confirmationQuestion(const std::string& time);

}  // namespace phonation
