#include "menu/history.h"

#include <algorithm>
#include <cstdio>

#include "menu/exercises.h"
#include "phonation/time_text.h"

namespace menu {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kHeader[] = "Data e hora;Paciente;Exercício;Tempo;Segundos\r\n";
constexpr std::size_t kFields = 5;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// One record starting at `at`: its fields, where the next one starts, and
// whether it was cut short (a quote never closed, or no line end at all).
struct RawRecord {
    std::vector<std::string> fields;
    std::size_t next = 0;
    bool complete = false;
};

RawRecord readRecord(const std::string& s, std::size_t at) {
    RawRecord r;
    std::string field;
    bool quoted = false, wasQuoted = false;
    std::size_t i = at;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < s.size() && s[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == ';') {
            r.fields.push_back(std::move(field));
            field.clear();
            wasQuoted = false;
        } else if (c == '\n' || (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) {
            r.complete = true;
            i += c == '\r' ? 2 : 1;
            break;
        } else {
            field += c;
        }
    }
    r.fields.push_back(std::move(field));
    r.next = i;
    return r;
}

std::size_t afterLineEnd(const std::string& s, std::size_t at) {
    const std::size_t end = s.find('\n', at);
    return end == std::string::npos ? s.size() : end + 1;
}

// "7,35" or "7.35" in hundredths; -1 when it is no such number.
int parseSeconds(const std::string& text) {
    const std::size_t sep = text.find_first_of(",.");
    const std::string whole = text.substr(0, sep);
    const std::string fraction = sep == std::string::npos ? "" : text.substr(sep + 1);
    if (whole.empty() || whole.size() > 6 || fraction.size() > 2) return -1;
    if (!std::all_of(whole.begin(), whole.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
        !std::all_of(fraction.begin(), fraction.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    int value = std::stoi(whole) * 100;
    if (!fraction.empty()) value += std::stoi(fraction) * (fraction.size() == 1 ? 10 : 1);
    return value;
}

// A record only counts when every field reads back and the seconds agree
// with the time: a line cut inside its last field fails that check.
bool toRecord(const std::vector<std::string>& fields, HistoryRecord& out) {
    if (fields.size() != kFields) return false;
    const auto when = parseIsoText(fields[0]);
    const int hundredths = parseTimeText(fields[3]);
    if (!when || fields[1].empty() || !exerciseNamed(fields[2]) || hundredths < 0 ||
        parseSeconds(fields[4]) != hundredths)
        return false;
    out = {*when, fields[1], fields[2], hundredths};
    return true;
}

bool isHeader(const std::vector<std::string>& fields) { return !fields.empty() && fields[0] == "Data e hora"; }

}  // namespace

std::string patientName(const std::string& typed) {
    std::size_t first = 0, last = typed.size();
    while (first < last && isBlank(typed[first])) ++first;
    while (last > first && isBlank(typed[last - 1])) --last;
    return first == last ? std::string(kNoName) : typed.substr(first, last - first);
}

int parseTimeText(const std::string& text) {
    const std::size_t first = text.find(':');
    if (first == std::string::npos || first < 2 || first > 4 || text.size() != first + 6 || text[first + 3] != ':')
        return -1;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != first && i != first + 3 && (text[i] < '0' || text[i] > '9')) return -1;
    const int minutes = std::stoi(text.substr(0, first));
    const int seconds = std::stoi(text.substr(first + 1, 2));
    const int hundredths = std::stoi(text.substr(first + 4, 2));
    if (seconds > 59) return -1;
    return (minutes * 60 + seconds) * 100 + hundredths;
}

std::string timeText(int hundredths) { return phonation::timeText(static_cast<uint32_t>(hundredths) * 10u); }

std::string secondsText(int hundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "%d,%02d", hundredths / 100, hundredths % 100);
    return text;
}

std::string csvField(const std::string& value) {
    if (value.find_first_of(";\"\r\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string csvLine(const HistoryRecord& r) {
    return isoText(r.when) + ';' + csvField(r.patient) + ';' + csvField(r.exercise) + ';' + timeText(r.hundredths) +
           ';' + secondsText(r.hundredths) + "\r\n";
}

std::string appendText(const HistoryRecord& record, bool fileIsEmpty, bool fileEndsWithLineBreak) {
    if (fileIsEmpty) return std::string(kBom) + kHeader + csvLine(record);
    return (fileEndsWithLineBreak ? "" : "\r\n") + csvLine(record);
}

ParsedHistory parseHistory(const std::string& contents) {
    ParsedHistory parsed;
    std::size_t at = contents.rfind(kBom, 0) == 0 ? 3 : 0;
    bool first = true;
    while (at < contents.size()) {
        const RawRecord raw = readRecord(contents, at);
        HistoryRecord record;
        if (raw.fields.size() == 1 && raw.fields[0].empty() && raw.complete) {
            at = raw.next;  // an empty line
        } else if (toRecord(raw.fields, record)) {
            parsed.records.push_back(std::move(record));
            at = raw.next;
        } else {
            if (!(first && isHeader(raw.fields))) ++parsed.skipped;
            // A stray quote may have run over several lines: only its own
            // line is lost, reading goes on with the next.
            at = afterLineEnd(contents, at);
        }
        first = false;
    }
    return parsed;
}

std::vector<std::string> patientNames(const std::vector<HistoryRecord>& records) {
    std::vector<std::string> names;
    for (const auto& r : records)
        if (std::find(names.begin(), names.end(), r.patient) == names.end()) names.push_back(r.patient);
    return names;
}

std::vector<HistoryRecord> recordsOf(const std::vector<HistoryRecord>& records, const std::string& patient) {
    std::vector<HistoryRecord> mine;
    for (const auto& r : records)
        if (r.patient == patient) mine.push_back(r);
    // Newest first; results of the same second keep their file order reversed.
    std::reverse(mine.begin(), mine.end());
    std::stable_sort(mine.begin(), mine.end(), [](const HistoryRecord& a, const HistoryRecord& b) {
        return secondsOf(a.when) > secondsOf(b.when);
    });
    return mine;
}

std::string listLine(const HistoryRecord& r) {
    return brazilianText(r.when) + '\t' + r.exercise + '\t' + timeText(r.hundredths);
}

}  // namespace menu
