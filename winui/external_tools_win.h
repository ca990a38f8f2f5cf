// The system's volume control (F12) and the help viewer (F1), opened from
// inside a game.  The game window hides while the tool is open and comes
// back maximised when the tool is minimised or closed.
#pragma once

#include <windows.h>

namespace ui {

// Both return when the tool's window is minimised or gone; meanwhile the
// program's messages keep being dispatched (capture notifications too).
void ShowVolumeControl(HWND gameWindow);
void ShowHelp(HWND gameWindow);

}  // namespace ui
