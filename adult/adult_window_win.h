// The adult program's main window, its commands and the program's run.
#pragma once

#include <windows.h>

namespace adult {

// The whole program; returns the exit code.
int RunAdult(HINSTANCE instance);

// The main window (null once destroyed) and the time box's font.
HWND mainWindow();
HFONT timeFont();

}  // namespace adult
