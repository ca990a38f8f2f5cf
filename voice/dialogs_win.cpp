#include "voice/dialogs_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdio>
#include <string>

#include "resources/common/dialog_ids.h"
#include "voice/calibration.h"
#include "winui/dialog_proc_win.h"
#include "voice/intensity.h"
#include "voice/menu_commands.h"
#include "winui/user_message_win.h"
#include "voice/volume_win.h"
#include "voice/wave_recorder_win.h"

namespace voice {
namespace {

// --- noise dialog ------------------------------------------------------------

struct NoiseState {
    float sum = 0.0f;
    int32_t count = 0;
};
NoiseState g_noise;

void startNoiseMeasurement(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDC_NOISE_START), FALSE);
    SendDlgItemMessageW(dialog, IDC_NOISE_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 300));
    SendDlgItemMessageW(dialog, IDC_NOISE_PROGRESS, PBM_SETSTEP, 1, 0);
    SendDlgItemMessageW(dialog, IDC_NOISE_PROGRESS, PBM_SETPOS, 0, 0);
    g_noise = {};
    if (!waveRecorder().Start(dialog)) EndDialog(dialog, 0);
}

void onNoiseBuffer(HWND dialog, WAVEHDR* header) {
    CWaveRecorder& recorder = waveRecorder();
    const bool done = processCapturedBuffer(recorder, header, true, [](std::optional<float> level) {
        if (!level) return;
        g_noise.sum += *level;
        ++g_noise.count;
    });
    const float seconds = recordedSeconds(recorder.bytesRecorded());
    if (done && !recorder.stopRequested() && seconds >= kNoiseSeconds) recorder.RequestStop();
    SendDlgItemMessageW(dialog, IDC_NOISE_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(seconds * 100.0f), 0);
}

void onNoiseRecordingClosed(HWND dialog) {
    if (!waveRecorder().markDeviceClosed()) return;  // an earlier recording's
    EnableWindow(GetDlgItem(dialog, IDOK), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_NOISE_START), TRUE);
    // A measurement without a single counted buffer has no mean, and one
    // the device cut short (it refused a buffer) heard too little: the old
    // threshold stays and the therapist can measure again.
    if (recordedSeconds(waveRecorder().bytesRecorded()) < kNoiseSeconds) return;
    if (auto threshold = noiseThreshold(g_noise.sum, g_noise.count)) intensitySettings().noiseDb = *threshold;
}

void leaveNoiseDialog(HWND dialog, int result) {
    // Escape in the middle of a measurement: the recording must not
    // outlive its owner, and the caller restarts the recorder right away.
    if (!waveRecorder().deviceClosed()) waveRecorder().WindDown();
    EndDialog(dialog, result);
}

BOOL OnNoiseInitDialog(HWND dialog, HWND, LPARAM) {
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
    return TRUE;
}

void OnNoiseCommand(HWND dialog, int id, HWND, UINT) {
    switch (id) {
    case IDC_NOISE_START: startNoiseMeasurement(dialog); break;
    case IDOK: leaveNoiseDialog(dialog, 1); break;
    case IDCANCEL: leaveNoiseDialog(dialog, 0); break;
    }
}

INT_PTR CALLBACK noiseDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_DLG_MSG(dialog, WM_INITDIALOG, OnNoiseInitDialog);
        HANDLE_DLG_MSG(dialog, WM_COMMAND, OnNoiseCommand);
    // The capture's notifications have no crackers of their own.
    case MM_WIM_DATA: onNoiseBuffer(dialog, reinterpret_cast<WAVEHDR*>(lParam)); return TRUE;
    case MM_WIM_CLOSE: onNoiseRecordingClosed(dialog); return TRUE;
    }
    return FALSE;
}

// --- intensity dialog ----------------------------------------------------------

void fillBandCombo(HWND dialog, int id, int first, int last, float current) {
    for (int v = first; v <= last; v += 10) {
        const std::wstring text = std::to_wstring(v);
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetDlgItemTextW(dialog, id, std::to_wstring(static_cast<int>(current)).c_str());
}

std::string controlText(HWND dialog, int id) {
    wchar_t text[101] = {};
    GetDlgItemTextW(dialog, id, text, 101);
    return ui::narrow(text);
}

std::optional<int> readBandValue(HWND dialog, int id, int low, int high, const char* complaint) {
    auto value = parseBandValue(controlText(dialog, id), low, high);
    if (!value) {
        SetFocus(GetDlgItem(dialog, id));
        ui::showMessage(dialog, complaint, "Tempo Expiratório", MB_OK);
    }
    return value;
}

void acceptBand(HWND dialog) {
    const auto minimum = readBandValue(dialog, IDC_MINIMUM, kMinimumLow, kMinimumHigh, "Valor Minimo: 0 a 50 dB");
    if (!minimum) return;
    const auto maximum =
        readBandValue(dialog, IDC_MAXIMUM, kMaximumLow, kMaximumHigh, "Valor Máximo: 60 a 120 dB");
    if (!maximum) return;
    intensitySettings().minDb = static_cast<float>(*minimum);
    intensitySettings().maxDb = static_cast<float>(*maximum);
    EndDialog(dialog, 1);
}

BOOL OnIntensityInitDialog(HWND dialog, HWND, LPARAM) {
    fillBandCombo(dialog, IDC_MINIMUM, 0, 50, intensitySettings().minDb);
    fillBandCombo(dialog, IDC_MAXIMUM, 60, 120, intensitySettings().maxDb);
    return TRUE;
}

void OnIntensityCommand(HWND dialog, int id, HWND, UINT) {
    switch (id) {
    case IDOK: acceptBand(dialog); break;
    case IDCANCEL: EndDialog(dialog, 0); break;
    }
}

INT_PTR CALLBACK intensityDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_DLG_MSG(dialog, WM_INITDIALOG, OnIntensityInitDialog);
        HANDLE_DLG_MSG(dialog, WM_COMMAND, OnIntensityCommand);
    }
    return FALSE;
}

// --- microphone dialog ---------------------------------------------------------

struct MicrophoneState {
    HWND window = nullptr;
    bool endPending = false;
    int volumeChanged = 0;
};
MicrophoneState g_microphone;

void placeTrackbar(HWND dialog, int position) {
    SendDlgItemMessageW(dialog, IDC_MIC_TRACKBAR, TBM_SETPOS, TRUE, position);
}

int currentTrackbarPosition() {
    IVolume* volume = volumeControl();
    if (volume == nullptr) return kTrackbarRange;
    const int32_t v = volume->GetVolume();
    const int32_t maximum = volume->GetMaxVolume();
    if (v == -1 || maximum == -1) return kTrackbarRange;
    return trackbarPositionForVolume(static_cast<uint32_t>(v), static_cast<uint32_t>(maximum));
}

void initMicrophoneDialog(HWND dialog) {
    SendDlgItemMessageW(dialog, IDC_MIC_TRACKBAR, TBM_SETRANGE, TRUE, MAKELPARAM(0, kTrackbarRange));
    SendDlgItemMessageW(dialog, IDC_MIC_TRACKBAR, TBM_SETTICFREQ, 142, 0);
    IVolume* volume = volumeControl();
    if (volume != nullptr && volume->GetVolume() != -1) placeTrackbar(dialog, currentTrackbarPosition());
    g_microphone = {dialog, false, 0};
}

void onTrackbarMoved(HWND dialog) {
    IVolume* volume = volumeControl();
    const int64_t maximum = volume != nullptr ? volume->GetMaxVolume() : kTrackbarRange;
    const int position = static_cast<int>(SendDlgItemMessageW(dialog, IDC_MIC_TRACKBAR, TBM_GETPOS, 0, 0));
    if (volume != nullptr) {
        const int64_t value = volumeForTrackbar(position, maximum);
        if (value >= 0 && value <= 0xFFFFFFFFll) volume->SetVolume(static_cast<uint32_t>(value));
    }
    g_microphone.volumeChanged = 1;
}

void toggleMicrophoneTest(HWND dialog) {
    CWaveRecorder& recorder = waveRecorder();
    if (recorder.deviceClosed()) {
        if (!recorder.Start(dialog)) {
            EndDialog(dialog, 0);
            return;
        }
        SetDlgItemTextW(dialog, IDCANCEL, L"Parar");
        SendDlgItemMessageW(dialog, IDC_MIC_LEVEL, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    } else {
        recorder.RequestStop();
        SendDlgItemMessageW(dialog, IDCANCEL, BM_SETSTATE, FALSE, 0);
        SetDlgItemTextW(dialog, IDCANCEL, L"Testar");
    }
}

void onMicrophoneBuffer(HWND dialog, WAVEHDR* header) {
    CWaveRecorder& recorder = waveRecorder();
    processCapturedBuffer(recorder, header, !recorder.stopRequested(), [dialog](std::optional<float> level) {
        if (level) SendDlgItemMessageW(dialog, IDC_MIC_LEVEL, PBM_SETPOS, static_cast<WPARAM>(*level), 0);
    });
}

void acceptMicrophone(HWND dialog) {
    CWaveRecorder& recorder = waveRecorder();
    // A recording of another window (the game's, still handing its buffers
    // back) closes there, never here: the caller's next start winds it down.
    if (recorder.deviceClosed() || recorder.owner() != dialog) {
        EndDialog(dialog, g_microphone.volumeChanged);
        return;
    }
    // Wait for the device to close, so the caller can start it again.
    recorder.RequestStop();
    g_microphone.endPending = true;
}

void onMicrophoneRecordingClosed(HWND dialog) {
    if (!waveRecorder().markDeviceClosed()) return;  // an earlier recording's
    if (g_microphone.endPending) {
        EndDialog(dialog, g_microphone.volumeChanged);
        return;
    }
    // The recording may also end on its own (a device that failed): the
    // button offers the test again.
    SetDlgItemTextW(dialog, IDCANCEL, L"Testar");
}

BOOL OnMicrophoneInitDialog(HWND dialog, HWND, LPARAM) {
    initMicrophoneDialog(dialog);
    return TRUE;
}

void OnMicrophoneVScroll(HWND dialog, HWND, UINT, int) { onTrackbarMoved(dialog); }

void OnMicrophoneCommand(HWND dialog, int id, HWND, UINT) {
    switch (id) {
    case IDCANCEL: toggleMicrophoneTest(dialog); break;  // also Escape and the close box
    case IDOK: acceptMicrophone(dialog); break;
    }
}

INT_PTR CALLBACK microphoneDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_DLG_MSG(dialog, WM_INITDIALOG, OnMicrophoneInitDialog);
        HANDLE_DLG_MSG(dialog, WM_VSCROLL, OnMicrophoneVScroll);
        HANDLE_DLG_MSG(dialog, WM_COMMAND, OnMicrophoneCommand);
    case MM_WIM_DATA: onMicrophoneBuffer(dialog, reinterpret_cast<WAVEHDR*>(lParam)); return TRUE;
    case MM_WIM_CLOSE: onMicrophoneRecordingClosed(dialog); return TRUE;
    }
    return FALSE;
}

int runDialog(HINSTANCE instance, int resource, HWND owner, DLGPROC proc) {
    const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(resource), owner, proc, 0);
    return result == -1 ? 0 : static_cast<int>(result);
}

}  // namespace

int NoiseDialog(HINSTANCE instance, HWND owner) { return runDialog(instance, IDD_NOISE, owner, noiseDialogProc); }

int IntensityDialog(HINSTANCE instance, HWND owner) {
    return runDialog(instance, IDD_INTENSITY, owner, intensityDialogProc);
}

int MicrophoneDialog(HINSTANCE instance, HWND owner) {
    return runDialog(instance, IDD_MICROPHONE, owner, microphoneDialogProc);
}

void RunCalibrationCommand(HINSTANCE instance, HWND owner, int command) {
    switch (command) {
    case kCmdNoise: NoiseDialog(instance, owner); break;
    case kCmdIntensity: IntensityDialog(instance, owner); break;
    case kCmdMicrophone:
        if (MicrophoneDialog(instance, owner)) NoiseDialog(instance, owner);
        break;
    }
}

int32_t OnInputVolumeChanged(int32_t, int32_t) {
    if (g_microphone.window == nullptr || !IsWindowVisible(g_microphone.window)) return 0;
    placeTrackbar(g_microphone.window, currentTrackbarPosition());
    return 0;
}

}  // namespace voice
