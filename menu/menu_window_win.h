// The main menu's window: the patient, the five exercises, the results
// list and the progress chart.
#pragma once

#include <windows.h>

namespace menu {

// Creates the window, runs it until it is closed and returns the exit code.
int RunMenu(HINSTANCE instance);

}  // namespace menu
