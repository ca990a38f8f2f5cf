// The patients' history: one record per confirmed result, kept in a CSV
// file that a Brazilian spreadsheet opens as columns (UTF-8 with a
// byte-order mark, ";" between fields, decimal comma).  The menu only ever
// appends to it; reading keeps every sound record and skips the rest.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "menu/local_time.h"

namespace menu {

struct HistoryRecord {
    LocalTime when;
    std::string patient;   // UTF-8, never empty
    std::string exercise;  // "Abelha", ...
    int hundredths = 0;    // the time, in hundredths of a second
    friend bool operator==(const HistoryRecord&, const HistoryRecord&) = default;
};

// What a result without a name is kept under.
inline constexpr char kNoName[] = "(sem nome)";

// The name as typed, without surrounding blanks; "(sem nome)" when nothing
// is left.
std::string patientName(const std::string& typed);

// "mm:ss:hh" as the exercises write it: minutes of two digits or more,
// seconds below 60, hundredths.  -1 for anything else.
int parseTimeText(const std::string& text);
std::string timeText(int hundredths);     // "00:07:35", as the exercises print it
std::string secondsText(int hundredths);  // "7,35"

// One field as CSV writes it: quoted when it holds ";", a quote or a line
// break, with quotes doubled.
std::string csvField(const std::string& value);

// The line of one record, ending in CRLF.
std::string csvLine(const HistoryRecord& record);

// The bytes one append writes: the byte-order mark and the header before
// the first record of a new file, and a line break first when the file
// does not end with one (a record cut short by a crash must not swallow
// the next).
std::string appendText(const HistoryRecord& record, bool fileIsEmpty, bool fileEndsWithLineBreak);

struct ParsedHistory {
    std::vector<HistoryRecord> records;  // in file order
    std::size_t skipped = 0;             // damaged or incomplete lines, the header not counted
};

ParsedHistory parseHistory(const std::string& fileContents);

// The distinct patient names, in the order first seen.
std::vector<std::string> patientNames(const std::vector<HistoryRecord>& records);

// The patient's records, newest first.
std::vector<HistoryRecord> recordsOf(const std::vector<HistoryRecord>& records, const std::string& patient);

// "14/03/2026 09:05\tAbelha\t00:07:35": one line of the results list.
std::string listLine(const HistoryRecord& record);

}  // namespace menu
