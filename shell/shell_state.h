// The game shell's state: which phase the program is in and whether
// drawing is paused.  One instance per program, touched only by the window
// thread.  The phonation timer belongs to the recording it times (see
// phonation/capture_session.h).
#pragma once

#include <cstdint>

namespace shell {

enum GameState : int32_t {
    gsTitle = 0,       // title picture; Enter or a click starts the exercise
    gsExitPrompt = 1,  // the Esc confirmation is open
    gsPlaying = 2,     // the scene exists and is drawn on every captured buffer
    gsClosed = 4,      // the main window is gone; the loops end
};

struct ShellState {
    int32_t gameState = gsTitle;
    bool titlePhase = false;  // painting shows the title picture
    bool paused = false;      // no frames are drawn
    bool appActive = false;
    bool fullScreen = false;
    bool halfView = false;
    bool resultSaved = false;     // the confirmed time was written in this run
};

ShellState& shellState();

}  // namespace shell
