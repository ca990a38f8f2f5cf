#include "menu/history.h"

#include <algorithm>
#include <cstdio>

#include "menu/exercises.h"
#include "menu/text.h"
#include "phonation/time_text.h"

namespace menu {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kHeader[] = "Data e hora;Paciente;Exercício;Tempo;Segundos;Sessão;Tentativa;Gravação\r\n";
constexpr std::size_t kFieldsBefore = 5, kFields = 8;
constexpr int kMostTrials = 99;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool startsLikeAFormula(const std::string& s) { return !s.empty() && std::string("=+-@").find(s[0]) != std::string::npos; }

// One record starting at `at`: its fields, where the next one starts, and
// whether it was cut short (a quote never closed, or no line end at all).
// The separators are ASCII, so this works on the bytes of either code page.
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

// "7,35" or "7.35" in hundredths; -1 when it is no such number.  A
// spreadsheet saves "3,00" back as "3" and "7,30" as "7,3".
int parseSeconds(const std::string& text) {
    const std::size_t sep = text.find_first_of(",.");
    const std::string whole = text.substr(0, sep);
    const std::string fraction = sep == std::string::npos ? "" : text.substr(sep + 1);
    if (whole.empty() || whole.size() > 6 || fraction.size() > 2) return -1;
    if (!std::all_of(whole.begin(), whole.end(), isDigit) || !std::all_of(fraction.begin(), fraction.end(), isDigit))
        return -1;
    int value = std::stoi(whole) * 100;
    if (!fraction.empty()) value += std::stoi(fraction) * (fraction.size() == 1 ? 10 : 1);
    return value;
}

// "mm:ss:hh" with `fewestMinuteDigits` to 4 digits of minutes.
int parseTime(const std::string& text, std::size_t fewestMinuteDigits) {
    const std::size_t first = text.find(':');
    if (first == std::string::npos || first < fewestMinuteDigits || first > 4 || text.size() != first + 6 ||
        text[first + 3] != ':')
        return -1;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != first && i != first + 3 && !isDigit(text[i])) return -1;
    const int minutes = std::stoi(text.substr(0, first));
    const int seconds = std::stoi(text.substr(first + 1, 2));
    const int hundredths = std::stoi(text.substr(first + 4, 2));
    if (seconds > 59) return -1;
    return (minutes * 60 + seconds) * 100 + hundredths;
}

std::string nameFromField(const std::string& field) {
    std::string name = asUtf8(field);
    if (name.size() >= 2 && name[0] == '\'' && startsLikeAFormula(name.substr(1))) name.erase(0, 1);
    return name;
}

// A record only counts when every field reads back and the seconds agree
// with the time: a line cut inside its last field fails that check.
// A trial's number: 1 to 99, digits only.
int parseTrial(const std::string& text) {
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), isDigit)) return -1;
    const int trial = std::stoi(text);
    return trial >= 1 && trial <= kMostTrials ? trial : -1;
}

bool toRecord(const std::vector<std::string>& fields, HistoryRecord& out) {
    if (fields.size() != kFieldsBefore && fields.size() != kFields) return false;
    const auto when = parseDateText(fields[0]);
    const int hundredths = parseHistoryTimeText(fields[3]);
    const std::string patient = nameFromField(fields[1]);
    if (!when || patient.empty() || !exerciseNamed(fields[2]) || hundredths < 0 ||
        parseSeconds(fields[4]) != hundredths)
        return false;
    out = {*when, patient, fields[2], hundredths};
    if (fields.size() == kFields) {
        out.trial = parseTrial(fields[6]);
        if (out.trial < 0) return false;
        out.session = asUtf8(fields[5]);
        out.recording = asUtf8(fields[7]);
    }
    return true;
}

bool isHeader(const std::vector<std::string>& fields) { return !fields.empty() && fields[0] == "Data e hora"; }

// The file cut into what it is made of, each piece with its bytes.
struct Piece {
    std::size_t begin = 0, end = 0;
    std::optional<HistoryRecord> record;
    bool damaged = false;  // neither a record, the header nor an empty line
};

std::vector<Piece> piecesOf(const std::string& contents) {
    std::vector<Piece> pieces;
    std::size_t at = contents.rfind(kBom, 0) == 0 ? 3 : 0;
    bool first = true;
    while (at < contents.size()) {
        const RawRecord raw = readRecord(contents, at);
        Piece piece{at, raw.next, std::nullopt, false};
        HistoryRecord record;
        if (raw.fields.size() == 1 && raw.fields[0].empty() && raw.complete) {
            // an empty line
        } else if (toRecord(raw.fields, record)) {
            piece.record = std::move(record);
        } else {
            piece.damaged = !(first && isHeader(raw.fields));
            // A stray quote may have run over several lines: only its own
            // line is lost, reading goes on with the next.
            piece.end = afterLineEnd(contents, at);
        }
        at = piece.end;
        pieces.push_back(std::move(piece));
        first = false;
    }
    return pieces;
}

}  // namespace

std::string patientName(const std::string& typed) {
    std::string name;
    bool blank = false;
    for (char c : typed) {
        if (isBlank(c)) {
            blank = !name.empty();
            continue;
        }
        if (blank) name += ' ';
        blank = false;
        name += c;
    }
    return name.empty() ? std::string(kNoName) : name;
}

std::string identityKey(const std::string& name) { return foldCase(asUtf8(patientName(name))); }

bool samePatient(const std::string& a, const std::string& b) { return identityKey(a) == identityKey(b); }

std::string canonicalPatient(const std::vector<HistoryRecord>& records, const std::string& typed) {
    const std::string key = identityKey(typed);
    for (const auto& r : records)
        if (identityKey(r.patient) == key) return r.patient;
    return patientName(typed);
}

int parseTimeText(const std::string& text) { return parseTime(text, 2); }
int parseHistoryTimeText(const std::string& text) { return parseTime(text, 1); }

std::string timeText(int hundredths) { return phonation::timeText(static_cast<uint32_t>(hundredths) * 10u); }

std::string secondsText(int hundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "%d,%02d", hundredths / 100, hundredths % 100);
    return text;
}

std::string csvField(const std::string& value) {
    const std::string text = startsLikeAFormula(value) ? "'" + value : value;
    if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string csvLine(const HistoryRecord& r) {
    std::string line = isoText(r.when) + ';' + csvField(r.patient) + ';' + csvField(r.exercise) + ';' +
                       timeText(r.hundredths) + ';' + secondsText(r.hundredths);
    if (!r.session.empty() || !r.recording.empty() || r.trial != 1)
        line += ';' + csvField(r.session) + ';' + std::to_string(r.trial) + ';' + csvField(r.recording);
    return line + "\r\n";
}

std::string appendText(const std::vector<HistoryRecord>& records, bool fileIsEmpty, bool fileEndsWithLineBreak) {
    std::string text = fileIsEmpty ? std::string(kBom) + kHeader : fileEndsWithLineBreak ? "" : "\r\n";
    for (const auto& r : records) text += csvLine(r);
    return text;
}

ParsedHistory parseHistory(const std::string& contents) {
    ParsedHistory parsed;
    for (auto& piece : piecesOf(contents)) {
        if (piece.record) parsed.records.push_back(std::move(*piece.record));
        else if (piece.damaged) ++parsed.skipped;
    }
    return parsed;
}

std::vector<std::string> patientNames(const std::vector<HistoryRecord>& records) {
    std::vector<std::string> names, keys;
    for (const auto& r : records) {
        std::string key = identityKey(r.patient);
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
        keys.push_back(std::move(key));
        names.push_back(r.patient);
    }
    return names;
}

std::vector<HistoryRecord> recordsOf(const std::vector<HistoryRecord>& records, const std::string& patient) {
    const std::string key = identityKey(patient);
    std::vector<HistoryRecord> mine;
    for (const auto& r : records)
        if (identityKey(r.patient) == key) mine.push_back(r);
    // Newest first; results of the same second keep their file order reversed.
    std::reverse(mine.begin(), mine.end());
    std::stable_sort(mine.begin(), mine.end(), [](const HistoryRecord& a, const HistoryRecord& b) {
        return secondsOf(a.when) > secondsOf(b.when);
    });
    return mine;
}

std::vector<HistoryRecord> recordsMissingFrom(const std::vector<HistoryRecord>& history,
                                              const std::vector<HistoryRecord>& more) {
    std::vector<HistoryRecord> missing;
    for (const auto& r : more)
        if (std::find(history.begin(), history.end(), r) == history.end() &&
            std::find(missing.begin(), missing.end(), r) == missing.end())
            missing.push_back(r);
    return missing;
}

EditedHistory editHistory(const std::string& contents, const HistoryEdit& edit) {
    EditedHistory edited;
    const std::string key = identityKey(edit.patient);
    const std::size_t bodyStart = contents.rfind(kBom, 0) == 0 ? 3 : 0;
    edited.contents = contents.substr(0, bodyStart);
    for (const auto& piece : piecesOf(contents)) {
        if (!piece.record || identityKey(piece.record->patient) != key) {
            edited.contents.append(contents, piece.begin, piece.end - piece.begin);
            continue;
        }
        ++edited.changed;
        if (edit.newName) {
            HistoryRecord renamed = *piece.record;
            renamed.patient = patientName(*edit.newName);
            edited.contents += csvLine(renamed);
        }
    }
    return edited;
}

std::string listLine(const HistoryRecord& r) {
    return brazilianText(r.when) + '\t' + r.exercise + '\t' + timeText(r.hundredths);
}

}  // namespace menu
