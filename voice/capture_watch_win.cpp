#include "voice/capture_watch_win.h"

#include "winui/user_message_win.h"
#include "voice/wave_recorder_win.h"

namespace voice {
namespace {
constexpr UINT_PTR kCaptureWatch = 1;
constexpr DWORD kCaptureWatchMs = 1000;
constexpr DWORD kLostMicrophoneMs = 4000;
}  // namespace

void StartCaptureWatch(HWND window) { SetTimer(window, kCaptureWatch, kCaptureWatchMs, nullptr); }

bool IsCaptureWatch(WPARAM timer) { return timer == kCaptureWatch; }

bool MicrophoneLost(HWND window) {
    const CWaveRecorder& recorder = waveRecorder();
    return recorder.owner() == window && recorder.stalled(GetTickCount(), kLostMicrophoneMs);
}

void ReportLostMicrophone(HWND owner, const char* caption) {
    ui::showMessage(owner,
                    "O microfone parou de responder.\nVerifique o microfone e escolha Jogo, Obter Ruido... "
                    "para continuar o exercício.",
                    caption, MB_OK | MB_ICONWARNING);
}

}  // namespace voice
