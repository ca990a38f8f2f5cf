// The progress chart: one line per exercise through the patient's times,
// seconds up the side and dates along the bottom, drawn with GDI.
#pragma once

#include <windows.h>

#include <vector>

#include "menu/history.h"

namespace menu {

bool registerChartClass(HINSTANCE instance);
HWND createChart(HWND parent, int id, const RECT& where);
// The records to draw (any order); the chart keeps its own copy.
void setChartRecords(HWND chart, std::vector<HistoryRecord> records);

}  // namespace menu
