// The patients' history: one record per confirmed result, kept in a CSV
// file that a Brazilian spreadsheet opens as columns (UTF-8 with a
// byte-order mark, ";" between fields, decimal comma).  Results are only
// ever appended; a name is corrected or a patient removed by a rewrite
// that leaves every other line as it was.  Reading takes back what a
// spreadsheet saves (its dates, its code page, its times) and skips only
// what no longer reads as a record.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "menu/local_time.h"

namespace menu {

struct HistoryRecord {
    LocalTime when;
    std::string patient;   // UTF-8, never empty
    std::string exercise;  // "Abelha", ...
    int hundredths = 0;    // the time, in hundredths of a second
    // The clinical session the result is a trial of: its id, shared by the
    // session's trials, and the trial's number.  A record of before
    // sessions has no id and is a session of one trial.
    std::string session;
    int trial = 1;
    std::string recording;  // the trial's sound, a file name in the history's "gravacoes" folder
    friend bool operator==(const HistoryRecord&, const HistoryRecord&) = default;
};

// What a result without a name is kept under.
inline constexpr char kNoName[] = "(sem nome)";

// The name as typed, without surrounding blanks and with each run of
// blanks inside made one space; "(sem nome)" when nothing is left.
std::string patientName(const std::string& typed);

// Two names are one patient when their keys are equal: case is ignored,
// accents are kept, blanks count as in patientName.
std::string identityKey(const std::string& name);
bool samePatient(const std::string& a, const std::string& b);

// The name a result of the typed patient is kept under: the spelling the
// history first had for that patient, or the typed name made tidy.
std::string canonicalPatient(const std::vector<HistoryRecord>& records, const std::string& typed);

// "mm:ss:hh" as the exercises write it: minutes of two digits or more,
// seconds below 60, hundredths.  -1 for anything else.
int parseTimeText(const std::string& text);
// The same as the history holds it, which also allows what a spreadsheet
// saves after reading the time as a time of day ("0:07:35").
int parseHistoryTimeText(const std::string& text);
std::string timeText(int hundredths);     // "00:07:35", as the exercises print it
std::string secondsText(int hundredths);  // "7,35"

// One field as CSV writes it: quoted when it holds ";", a quote or a line
// break, with quotes doubled.  A text a spreadsheet would run as a formula
// (starting with "=", "+", "-" or "@") gets a leading apostrophe, which
// reading takes off again.
std::string csvField(const std::string& value);

// The line of one record, ending in CRLF.  A record of no session and no
// recording keeps the five columns of before; the others add "Sessão",
// "Tentativa" and "Gravação" at the end, so a spreadsheet still finds the
// first five where they were.
std::string csvLine(const HistoryRecord& record);

// The bytes one append writes: the byte-order mark and the header before
// the first record of a new file, and a line break first when the file
// does not end with one (a record cut short by a crash must not swallow
// the next).
// Several records go in one write.
std::string appendText(const std::vector<HistoryRecord>& records, bool fileIsEmpty, bool fileEndsWithLineBreak);

struct ParsedHistory {
    std::vector<HistoryRecord> records;  // in file order
    std::size_t skipped = 0;             // damaged or incomplete lines, the header not counted
};

ParsedHistory parseHistory(const std::string& fileContents);

// The distinct patients, in the order first seen, each under the spelling
// first seen.
std::vector<std::string> patientNames(const std::vector<HistoryRecord>& records);

// Every record of the patient's identity, newest first.
std::vector<HistoryRecord> recordsOf(const std::vector<HistoryRecord>& records, const std::string& patient);

// The records of `more` that `history` does not hold yet, each once: what
// merging a pending file writes, so a merge cut short and done again adds
// nothing twice.
std::vector<HistoryRecord> recordsMissingFrom(const std::vector<HistoryRecord>& history,
                                              const std::vector<HistoryRecord>& more);

// A correction of the history: every record of `patient`'s identity gets
// `newName`, or is removed when there is none.
struct HistoryEdit {
    std::string patient;
    std::optional<std::string> newName;
};
struct EditedHistory {
    std::string contents;     // the whole new file
    std::size_t changed = 0;  // records renamed or removed
};
// Every byte that is not a record of the patient stays as it was: the
// header, other patients, damaged lines, a spreadsheet's code page.
EditedHistory editHistory(const std::string& fileContents, const HistoryEdit& edit);

// "14/03/2026 09:05\tAbelha\t00:07:35": one line of the results list.
std::string listLine(const HistoryRecord& record);

}  // namespace menu
