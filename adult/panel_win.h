// The measurement panel: the child window that owns the recording, draws
// the bar graph and the running time.  Its capture notifications and its
// watch go to the program's measurement driver.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <optional>
#include <string>

#include "measure/driver_win.h"

namespace adult {

// Dialog 131 as a child of `main`, at (40, 50), 290 x 140 pixels.
HWND CreatePanel(HINSTANCE instance, HWND main, measure::Driver& driver);
HWND panelWindow();

// A captured buffer: its raw amplitude, read before the level measurement
// filters the samples in place; then its level, which adds a bar and moves
// the time box.
void panelBeforeMeasure(const WAVEHDR* header);
void panelMeasured(std::optional<float> level);

// The time box, drawn only when its text changes; empty before the
// capture first ran.
void showTime(const std::string& time);
const std::string& shownTime();

}  // namespace adult
