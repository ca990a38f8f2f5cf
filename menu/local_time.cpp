#include "menu/local_time.h"

#include <cstdio>

namespace menu {
namespace {

// Days since 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's
// algorithm, exact for every year of interest).
int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

bool isDigits(const std::string& s, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i)
        if (i >= s.size() || s[i] < '0' || s[i] > '9') return false;
    return true;
}

int number(const std::string& s, std::size_t from, std::size_t count) {
    int n = 0;
    for (std::size_t i = from; i < from + count; ++i) n = n * 10 + (s[i] - '0');
    return n;
}

std::optional<LocalTime> checked(const LocalTime& t) {
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month) || t.hour > 23 ||
        t.minute > 59 || t.second > 59)
        return std::nullopt;
    return t;
}

}  // namespace

int64_t secondsOf(const LocalTime& t) {
    return daysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

LocalTime localTimeAt(int64_t seconds) {
    int64_t days = seconds / 86400, rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // The inverse of daysFromCivil.
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    LocalTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

std::string isoText(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return text;
}

std::optional<LocalTime> parseIsoText(const std::string& s) {
    // YYYY-MM-DD HH:MM:SS
    if (s.size() != 19 || !isDigits(s, 0, 4) || s[4] != '-' || !isDigits(s, 5, 2) || s[7] != '-' ||
        !isDigits(s, 8, 2) || (s[10] != ' ' && s[10] != 'T') || !isDigits(s, 11, 2) || s[13] != ':' ||
        !isDigits(s, 14, 2) || s[16] != ':' || !isDigits(s, 17, 2))
        return std::nullopt;
    return checked({number(s, 0, 4), number(s, 5, 2), number(s, 8, 2), number(s, 11, 2), number(s, 14, 2),
                    number(s, 17, 2)});
}

std::optional<LocalTime> parseDateText(const std::string& s) {
    if (auto iso = parseIsoText(s)) return iso;
    // D/M/YYYY H:MM[:SS], each of D, M and H one or two digits.
    std::size_t at = 0;
    const auto part = [&](std::size_t minDigits, std::size_t maxDigits, char after, int& value) {
        std::size_t n = 0;
        while (n < maxDigits && isDigits(s, at + n, 1)) ++n;
        if (n < minDigits) return false;
        value = number(s, at, n);
        at += n;
        if (after == '\0') return true;
        if (at >= s.size() || s[at] != after) return false;
        ++at;
        return true;
    };
    LocalTime t;
    if (!part(1, 2, '/', t.day) || !part(1, 2, '/', t.month) || !part(4, 4, ' ', t.year) ||
        !part(1, 2, ':', t.hour) || !part(2, 2, '\0', t.minute))
        return std::nullopt;
    if (at < s.size() && (s[at] != ':' || (++at, !part(2, 2, '\0', t.second)))) return std::nullopt;
    if (at != s.size()) return std::nullopt;
    return checked(t);
}

std::string brazilianText(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d", t.day, t.month, t.year, t.hour, t.minute);
    return text;
}

}  // namespace menu
