// The game shell's state: which phase the program is in, whether drawing
// is paused, and the phonation timer.  One instance per program, touched
// only by the window thread.
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
    uint32_t phonationStart = 0;  // tick count when the voice entered the band; 0 = not running
    float elapsedMs = 0.0f;       // the last phonation taken
    bool resultPending = false;   // taken, waiting for the capture to close and the therapist
    bool resultSaved = false;     // the confirmed time was written in this run
};

ShellState& shellState();

}  // namespace shell
