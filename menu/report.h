// The patient's report for the clinical record: one HTML file (UTF-8,
// inline SVG, print styles for A4, no scripts, nothing fetched), which the
// therapist opens in a browser and prints or saves as PDF.  It holds the
// suite's name, the patient, the date of the report and the period it
// covers, the table of sessions (date, exercise, each trial's time, the
// best and the mean), the chart of each session's best per exercise, and
// an empty box for the therapist's notes and signature.
#pragma once

#include <string>
#include <vector>

#include "menu/history.h"
#include "menu/local_time.h"

namespace menu {

// `records` are the patient's (any order); `patient` is the name shown.
std::string reportHtml(const std::string& patient, const LocalTime& today, const std::vector<HistoryRecord>& records);

// "Maria da Silva 2026-12-09.html": the patient's name with what a file
// name cannot hold replaced, and the date.
std::string reportFileName(const std::string& patient, const LocalTime& today);

// Whether a file of the reports folder is one of `patient`'s reports,
// written under any spelling of the name: what erasing the patient erases.
bool isReportOf(const std::string& fileName, const std::string& patient);

// Text made safe inside HTML, in elements and attributes alike.
std::string htmlEscaped(const std::string& text);

}  // namespace menu
