// The measurement panel: the child window that owns the recording, draws
// the bar graph and the running time, and asks for the confirmation.
#pragma once

#include <windows.h>

#include <string>

namespace adult {

// Dialog 131 as a child of `main`, at (40, 50), 290 x 140 pixels.
HWND CreatePanel(HINSTANCE instance, HWND main);

// A new recording, owned by the panel, with a new phonation timer.  False
// when the capture could not start (the reason has been shown).
bool startCapture();
// Closes the timer, then asks the device to stop: what it still hands
// back times nothing.
void stopCapture();
// Stops at once: every buffer is taken back and the device closed.
void endCapture();
// The text the time box shows; empty before the capture first ran.
const std::string& shownTime();
// "Reiniciar Tempo": the running phonation is forgotten.
void restartTimer();

}  // namespace adult
