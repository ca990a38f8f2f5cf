// The calibration dialogs: room noise, intensity band, microphone.
//
// The noise and microphone dialogs own the recorder while they are open:
// they start it with their own window and run the per-buffer steps
// themselves.  Whatever recording the caller had must be stopped first.
#pragma once

#include <windows.h>

#include <cstdint>

namespace voice {

// 1 after OK (the noise threshold was measured), 0 after Escape, the close
// box or a recorder that could not start.  Returns with the recorder idle.
int NoiseDialog(HINSTANCE instance, HWND owner);
// 1 after a valid OK (band limits stored), 0 after Cancelar or Escape.
int IntensityDialog(HINSTANCE instance, HWND owner);
// 1 when the volume slider was moved, 0 otherwise or after a failed start.
int MicrophoneDialog(HINSTANCE instance, HWND owner);

// The Jogo menu's calibration commands (voice/menu_commands.h), the same in
// every program: the noise, the band, or the microphone, after which a
// moved volume needs a new noise threshold.  Other commands do nothing.
void RunCalibrationCommand(HINSTANCE instance, HWND owner, int command);

// Registered with the volume control: moves the open microphone dialog's
// slider when the microphone volume changes, whoever changed it.
int32_t OnInputVolumeChanged(int32_t volume, int32_t user);

}  // namespace voice
