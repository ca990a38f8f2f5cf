#include "voice/volume_win.h"

#include <memory>
#include <vector>

#include "voice/dialogs_win.h"
#include "voice/trace.h"
#include "winui/user_message_win.h"
#include "voice/volume_probe.h"
#include "voice/wave_recorder_win.h"

namespace voice {
namespace {

constexpr DWORD kComponentMicrophone = MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
constexpr DWORD kComponentWaveIn = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
const wchar_t kWindowClass[] = L"Input Volume Msg Wnd Class";
const wchar_t kWindowName[] = L"Input Volume Msg Wnd";

VolumeMessages g_messages;
IVolume* g_volume = nullptr;
CVolumeInXXX* g_windowInstance = nullptr;  // the object whose mixer is open

#define VOLUME_TRACE(...)                                   \
    do {                                                    \
        if (g_messages.trace) trace(".InputXxxVolume: " __VA_ARGS__); \
    } while (0)

MMRESULT destinationLine(HMIXEROBJ mixer, MIXERLINEA* line) {
    *line = {};
    line->cbStruct = sizeof(MIXERLINEA);
    line->dwComponentType = kComponentWaveIn;
    return mixerGetLineInfoA(mixer, line, MIXER_GETLINEINFOF_COMPONENTTYPE);
}

MMRESULT sourceLine(HMIXEROBJ mixer, DWORD destination, DWORD source, MIXERLINEA* line) {
    *line = {};
    line->cbStruct = sizeof(MIXERLINEA);
    line->dwDestination = destination;
    line->dwSource = source;
    return mixerGetLineInfoA(mixer, line, MIXER_GETLINEINFOF_SOURCE);
}

MMRESULT volumeControlOf(HMIXEROBJ mixer, DWORD lineId, MIXERCONTROLA* control) {
    *control = {};
    control->cbStruct = sizeof(MIXERCONTROLA);
    MIXERLINECONTROLSA query{};
    query.cbStruct = sizeof query;
    query.dwLineID = lineId;
    query.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    query.cControls = 1;
    query.cbmxctrl = sizeof(MIXERCONTROLA);
    query.pamxctrl = control;
    return mixerGetLineControlsA(mixer, &query, MIXER_GETLINECONTROLSF_ONEBYTYPE);
}

// One value per channel of a single-item volume control.
MIXERCONTROLDETAILS volumeDetails(DWORD controlId, std::vector<MIXERCONTROLDETAILS_UNSIGNED>& values) {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = static_cast<DWORD>(values.size());
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = values.data();
    return details;
}

LRESULT CALLBACK volumeWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == MM_MIXM_CONTROL_CHANGE && g_windowInstance != nullptr)
        g_windowInstance->onControlChange(static_cast<uint32_t>(lp));
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void setVolumeMessages(const VolumeMessages& messages) { g_messages = messages; }

IVolume* volumeControl() { return g_volume; }

void freeVolumeControl() {
    delete g_volume;
    g_volume = nullptr;
}

bool waveInMixerId(UINT* id) {
    WAVEFORMATEX format = monoPcm16Format(22050);  // the rate does not matter for finding the mixer
    HWAVEIN probe = nullptr;
    MMRESULT result = waveInOpen(&probe, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE("FAILURE: Could not open WaveIn Mapper. mmResult=%d\n", static_cast<int>(result));
        return false;
    }
    result = mixerGetID(reinterpret_cast<HMIXEROBJ>(probe), id, MIXER_OBJECTF_HWAVEIN);
    waveInClose(probe);
    if (result == MMSYSERR_NOERROR) return true;
    // Some systems (Wine among them) cannot name the mixer of a device
    // opened through the mapper; the mapper records from wave-in device 0,
    // so that device's mixer is the one to use.
    result = mixerGetID(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(0)), id, MIXER_OBJECTF_WAVEIN);
    if (result == MMSYSERR_NOERROR) return true;
    VOLUME_TRACE("FAILURE: WaveIn Mapper in Mixer is not available. mmResult=%d\n", static_cast<int>(result));
    return false;
}

bool EnumerateSourceLines(SourcePicker picker, void* user) {
    if (picker == nullptr) return false;
    UINT id = 0;
    if (!waveInMixerId(&id)) return false;

    HMIXER mixer = nullptr;
    MMRESULT result = mixerOpen(&mixer, id, 0, 0, MIXER_OBJECTF_MIXER);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE("FAILURE: Could not open Mixer. mmResult=%d\n", static_cast<int>(result));
        return false;
    }
    auto* object = reinterpret_cast<HMIXEROBJ>(mixer);
    MIXERLINEA destination;
    result = destinationLine(object, &destination);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE(
            "FAILURE: Could not get WaveIn Destionation Line for the requested source while enumerating. "
            "mmResult=%d\n",
            static_cast<int>(result));
        mixerClose(mixer);
        return false;
    }
    for (DWORD i = 0; i < destination.cConnections; ++i) {
        MIXERLINEA source;
        result = sourceLine(object, destination.dwDestination, i, &source);
        if (result != MMSYSERR_NOERROR) {
            VOLUME_TRACE("FAILURE: Could not get the interated Source Line while enumerating. mmResult=%d\n",
                         static_cast<int>(result));
            mixerClose(mixer);
            return false;
        }
        if (!picker(i, source, user)) break;
    }
    mixerClose(mixer);
    return true;
}

bool PickMicrophone(uint32_t index, const MIXERLINEA& line, void* user) {
    if (line.dwComponentType != kComponentMicrophone) return true;
    *static_cast<int32_t*>(user) = static_cast<int32_t>(index);
    return false;
}

int InitMicrophoneVolume() {
    int32_t microphoneSource = -1;
    if (!EnumerateSourceLines(PickMicrophone, &microphoneSource)) {
        freeVolumeControl();
        return 0;
    }
    if (microphoneSource == -1) {
        freeVolumeControl();
        if (g_messages.reportMissingMicrophone)
            ui::showMessage(nullptr, "NAO FOI POSSÍVEL PEGAR O MICROFONE", "ERRO");
        return 0;
    }
    freeVolumeControl();
    g_volume = new CVolumeInXXX(static_cast<uint32_t>(microphoneSource));
    if (g_volume->IsAvailable()) {
        g_volume->SetNotify(OnInputVolumeChanged, 0);
        return 1;
    }
    const int answer = ui::showMessage(nullptr, "Entrada para Microfone ñ Encontrada!\nDeseja Continuar?", "",
                                       MB_YESNO);
    if (answer == IDNO) return -1;
    freeVolumeControl();
    return 1;
}

// --- CVolumeInXXX -------------------------------------------------------------

CVolumeInXXX::CVolumeInXXX(uint32_t sourceIndex) {
    mixerOpen_ = openMixer();
    if (!mixerOpen_) return;
    g_windowInstance = this;
    if (!adoptSourceLine(sourceIndex)) {
        closeMixer();
        lineAdopted_ = false;
    }
}

CVolumeInXXX::~CVolumeInXXX() { closeMixer(); }

bool CVolumeInXXX::openMixer() {
    if (mixerGetNumDevs() == 0) return false;
    if (!waveInMixerId(&mixerId_)) return false;

    WNDCLASSW wc{};
    wc.lpfnWndProc = volumeWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);  // a second registration failing is harmless
    window_ = CreateWindowExW(0, kWindowClass, kWindowName, WS_POPUP | WS_DISABLED, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) {
        VOLUME_TRACE("FAILURE: Could not create internal window.\n");
        return false;
    }
    ShowWindow(window_, SW_HIDE);
    const MMRESULT result = mixerOpen(&mixer_, mixerId_, reinterpret_cast<DWORD_PTR>(window_), 0,
                                      CALLBACK_WINDOW | MIXER_OBJECTF_MIXER);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE("FAILURE: Could not open Mixer. mmResult=%d\n", static_cast<int>(result));
        DestroyWindow(window_);
        window_ = nullptr;
        mixer_ = nullptr;
        return false;
    }
    return true;
}

void CVolumeInXXX::closeMixer() {
    if (g_windowInstance == this) g_windowInstance = nullptr;
    if (mixer_ != nullptr) mixerClose(mixer_);
    mixer_ = nullptr;
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
    mixerOpen_ = false;
}

bool CVolumeInXXX::adoptSourceLine(uint32_t source) {
    if (!mixerOpen_) return false;
    VOLUME_TRACE("Initializing for the Source Line (%d) ..\n", static_cast<int>(source));
    auto* object = reinterpret_cast<HMIXEROBJ>(mixer_);

    MIXERLINEA destination;
    MMRESULT result = destinationLine(object, &destination);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE(
            "FAILURE: Could not get WaveIn Destionation Line for the requested source while initilaizing. "
            "mmResult=%d\n",
            static_cast<int>(result));
        return false;
    }
    if (source >= destination.cConnections) {
        VOLUME_TRACE("FAILURE: Invalid Source Line index passed.\n");
        return false;
    }
    MIXERLINEA line;
    result = sourceLine(object, destination.dwDestination, source, &line);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE("FAILURE: Could not get the requested Source Line while initilaizing. mmResult=%d\n",
                     static_cast<int>(result));
        return false;
    }
    VOLUME_TRACE("\"%s\" Source Line adopted.\n", line.szShortName);

    MIXERCONTROLA control{};
    result = volumeControlOf(object, line.dwLineID, &control);
    if (result == MMSYSERR_NOERROR) {
        if ((control.fdwControl & MIXERCONTROL_CONTROLF_DISABLED) == 0) {
            volumeUsable_ = true;
            VOLUME_TRACE("\"%s\" Volume control for the Source Line adopted\n", control.szShortName);
        } else {
            VOLUME_TRACE("WARNING: The Volume Control is disabled.\n");
        }
    } else {
        VOLUME_TRACE(
            "WARNING: Could not get the requested Source Line Volume Control for the requested line while "
            "initilaizing. mmResult=%d\n",
            static_cast<int>(result));
    }
    volumeControlId_ = control.dwControlID;
    channels_ = line.cChannels == 0 ? 1 : line.cChannels;
    steps_ = control.Metrics.cSteps;
    minimum_ = control.Bounds.dwMinimum;
    maximum_ = control.Bounds.dwMaximum;

    // Some mixers (Wine's among them) offer a volume control on the
    // microphone line that accepts values but does nothing; the recording
    // level is then the wave-input destination's own volume.
    if (volumeUsable_ && !controlKeepsValues()) {
        VOLUME_TRACE("WARNING: The Source Line's Volume control keeps no value; using the WaveIn destination's.\n");
        volumeUsable_ = false;
        MIXERCONTROLA master{};
        if (volumeControlOf(object, destination.dwLineID, &master) == MMSYSERR_NOERROR &&
            (master.fdwControl & MIXERCONTROL_CONTROLF_DISABLED) == 0) {
            volumeControlId_ = master.dwControlID;
            channels_ = destination.cChannels == 0 ? 1 : destination.cChannels;
            steps_ = master.Metrics.cSteps;
            minimum_ = master.Bounds.dwMinimum;
            maximum_ = master.Bounds.dwMaximum;
            volumeUsable_ = true;  // the probe reads and writes through the public calls
            volumeUsable_ = controlKeepsValues();
        }
    }

    bool microphoneFound = false;
    for (DWORD i = 0; i < destination.cConnections && !microphoneFound; ++i) {
        MIXERLINEA other;
        if (sourceLine(object, destination.dwDestination, i, &other) == MMSYSERR_NOERROR &&
            other.dwComponentType == kComponentMicrophone)
            microphoneFound = true;
    }
    if (!microphoneFound) VOLUME_TRACE("WARNING: Could not retrieve Microphone Source Line.\n");

    lineId_ = line.dwLineID;
    sourceIndex_ = source;
    lineAdopted_ = true;
    return true;
}

// A control that does not read back what was written cannot be the one
// that sets the level.
bool CVolumeInXXX::controlKeepsValues() {
    return voice::controlKeepsValues({minimum_, maximum_, steps_}, [this] { return int64_t{GetVolume()}; },
                                     [this](uint32_t value) { SetVolume(value); });
}

bool CVolumeInXXX::IsAvailable() { return volumeUsable_; }

int32_t CVolumeInXXX::GetVolumeSteps() { return volumeUsable_ ? static_cast<int32_t>(steps_) : -1; }
int32_t CVolumeInXXX::GetMinVolume() { return volumeUsable_ ? static_cast<int32_t>(minimum_) : -1; }
int32_t CVolumeInXXX::GetMaxVolume() { return volumeUsable_ ? static_cast<int32_t>(maximum_) : -1; }

int32_t CVolumeInXXX::GetVolume() {
    if (!volumeUsable_) return -1;
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(channels_);
    MIXERCONTROLDETAILS details = volumeDetails(volumeControlId_, values);
    const MMRESULT result =
        mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(mixer_), &details, MIXER_GETCONTROLDETAILSF_VALUE);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE("FAILURE: Could not get volume. mmResult=%d\n", static_cast<int>(result));
        return -1;
    }
    return static_cast<int32_t>(values[0].dwValue);
}

void CVolumeInXXX::SetVolume(uint32_t value) {
    if (!volumeUsable_ || value < minimum_ || value > maximum_) return;
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(channels_);
    for (auto& v : values) v.dwValue = value;
    MIXERCONTROLDETAILS details = volumeDetails(volumeControlId_, values);
    const MMRESULT result =
        mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer_), &details, MIXER_SETCONTROLDETAILSF_VALUE);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE("FAILURE: Could not set volume(%d) mmResult=%d\n", static_cast<int>(value),
                     static_cast<int>(result));
        if (g_messages.reportSetFailure) ui::showMessage(nullptr, "NAO FOI POSSIVEL", "");
    }
}

void CVolumeInXXX::SetNotify(Callback callback, int32_t user) {
    callback_ = callback;
    user_ = user;
}

void CVolumeInXXX::onControlChange(uint32_t controlId) {
    if (controlId != volumeControlId_) return;
    const int32_t volume = GetVolume();
    if (volume != -1 && callback_ != nullptr) callback_(volume, user_);
}

void CVolumeInXXX::DisableLine() {
    VOLUME_TRACE("WARNING: Disable line has no sense. The function not implemented.\n");
}

void CVolumeInXXX::EnableLine() {
    if (!lineAdopted_) return;
    auto* object = reinterpret_cast<HMIXEROBJ>(mixer_);
    MIXERLINEA destination;
    MMRESULT result = destinationLine(object, &destination);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE("FAILURE: Could not get the Destination Line while enabling. mmResult=%d\n",
                     static_cast<int>(result));
        return;
    }
    if (destination.cControls == 0) {
        VOLUME_TRACE("WARNING: No controls were found for enabling the line.\n");
        return;
    }
    std::vector<MIXERCONTROLA> controls(destination.cControls);
    MIXERLINECONTROLSA query{};
    query.cbStruct = sizeof query;
    query.dwLineID = destination.dwLineID;
    query.cControls = destination.cControls;
    query.cbmxctrl = sizeof(MIXERCONTROLA);
    query.pamxctrl = controls.data();
    result = mixerGetLineControlsA(object, &query, MIXER_GETLINECONTROLSF_ALL);
    if (result != MMSYSERR_NOERROR) {
        VOLUME_TRACE("FAILURE: Could not get the line's controls while enabling. mmResult=%d\n",
                     static_cast<int>(result));
        return;
    }
    int enabled = 0;
    for (const MIXERCONTROLA& control : controls) {
        if ((control.dwControlType & 0x10000u) == 0) continue;  // boolean-unit controls only
        const DWORD channels = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : destination.cChannels;
        const bool multiple = (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
        const DWORD items = multiple ? control.cMultipleItems : 0;
        // One block of items per channel, the layout the mixer expects.
        std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(static_cast<size_t>(channels) * (multiple ? items : 1));
        for (DWORD c = 0; c < channels; ++c)
            for (DWORD i = 0; i < (multiple ? items : 1); ++i)
                values[c * (multiple ? items : 1) + i].fValue = multiple ? (i == sourceIndex_ ? 1 : 0) : 1;
        MIXERCONTROLDETAILS details{};
        details.cbStruct = sizeof details;
        details.dwControlID = control.dwControlID;
        details.cChannels = channels;
        details.cMultipleItems = items;
        details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
        details.paDetails = values.data();
        if (mixerSetControlDetails(object, &details, MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR) {
            ++enabled;
            VOLUME_TRACE("Enabling Line: Line control \"%s\" has been enabled.\n", control.szShortName);
        }
    }
    if (enabled == 0) VOLUME_TRACE("WARNING: No controls were found for enabling the line.\n");
}

}  // namespace voice
