// A microphone that goes away (unplugged, its driver gone) just stops
// handing buffers back: such a device signals nothing, only the silence
// tells.  A program watches its own recording once a second; after 4 s of
// silence it drops the phonation it was timing, winds the recorder down
// and says so.  A calibration command from the menu starts the capture
// again once the microphone is back.
#pragma once

#include <windows.h>

namespace voice {

// The watch's WM_TIMER comes to `window` with this timer id.
void StartCaptureWatch(HWND window);
bool IsCaptureWatch(WPARAM timer);
// On the watch's timer: has `window`'s own recording (not a calibration
// dialog's, which watches its own) handed nothing back for too long?
bool MicrophoneLost(HWND window);
// What the therapist is told once the recording has been wound down.
void ReportLostMicrophone(HWND owner, const char* caption);

}  // namespace voice
