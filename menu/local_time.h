// Local date and time of a result, as the history file writes it
// ("2026-03-14 09:05:00") and as the chart counts it (seconds on one line).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace menu {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// Seconds since 1970-01-01 00:00 of the same clock: only differences and
// order mean anything, so no time zone is involved.
int64_t secondsOf(const LocalTime& t);
LocalTime localTimeAt(int64_t seconds);

// ISO 8601 with a blank between date and time, which spreadsheets set to
// Portuguese read as a date; "T" is accepted when reading.
std::string isoText(const LocalTime& t);
std::optional<LocalTime> parseIsoText(const std::string& text);

// A date as the history may hold it: ISO as the menu writes it, or the way
// a Brazilian spreadsheet saves it back, "14/03/2026 09:05" with or without
// seconds (day, month and hour may lose their leading zero).
std::optional<LocalTime> parseDateText(const std::string& text);

// "14/03/2026 09:05", the way the list shows it.
std::string brazilianText(const LocalTime& t);

}  // namespace menu
