#include "measure/driver_win.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "phonation/one_run_win.h"
#include "phonation/result_file.h"
#include "phonation/sound_keeper.h"
#include "phonation/time_text.h"
#include "voice/capture_watch_win.h"
#include "voice/dialogs_win.h"
#include "voice/intensity.h"
#include "voice/menu_commands.h"
#include "winui/message_loop_win.h"
#include "winui/user_message_win.h"
#include "voice/wave_recorder_win.h"

namespace measure {
namespace {

constexpr char kTitle[] = "Tempo Expiratório";

voice::CWaveRecorder& recorder() { return voice::waveRecorder(); }

std::optional<Command> commandOf(int id) {
    switch (id) {
    case voice::kCmdExit: return Command::Exit;
    case voice::kCmdNoise: return Command::Noise;
    case voice::kCmdIntensity: return Command::Intensity;
    case voice::kCmdMicrophone: return Command::Microphone;
    case voice::kCmdRestartTimer: return Command::RestartTimer;
    }
    return std::nullopt;
}

int commandId(Command command) {
    switch (command) {
    case Command::Exit: return voice::kCmdExit;
    case Command::Noise: return voice::kCmdNoise;
    case Command::Intensity: return voice::kCmdIntensity;
    case Command::Microphone: return voice::kCmdMicrophone;
    case Command::RestartTimer: break;
    }
    return voice::kCmdRestartTimer;
}

bool yes(HWND owner, const std::string& text, const char* caption) {
    return ui::showMessage(owner, text, caption, MB_YESNO) == IDYES;
}

}  // namespace

Driver::Driver(const Program& program, IView& view)
    : program_(program), view_(view), flow_(program.style), sound_(voice::kSampleRate) {}

int Driver::run(HINSTANCE instance) {
    instance_ = instance;
    const phonation::OnlyRun run(program_.resultFile);
    if (!run.claimed()) return 0;
    apply(flow_.started());

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    voice::setVolumeMessages(program_.volumeMessages);
    if (voice::InitMicrophoneVolume() == 0 && program_.reportVolumeSetUpFailure)
        ui::showMessage(nullptr, "NAO FOI POSSIVEL INICIALIZAR OS CONTROLES", "ERRO", MB_OK);
    voice::IntensitySettings& settings = voice::intensitySettings();
    settings.minDb = 10.0f;
    settings.maxDb = program_.maxDb;
    voice::resetSmoothing();

    if (!view_.create(instance)) return leave(0);
    // The noise is measured before anything else, over the title.
    apply(flow_.noiseMeasured(voice::NoiseDialog(instance, view_.window()) != 0));

    int exitCode = 0;
    ui::runMessagesUntil([this] { return flow_.phase() == Phase::Closed; }, exitCode);
    return leave(exitCode);
}

// Whatever ended the program, the device stops here.  A window still there
// is destroyed, which leaves the result file as the way of ending decided.
int Driver::leave(int exitCode) {
    if (view_.window()) DestroyWindow(view_.window());
    session_.close();
    recorder().WindDown();
    return exitCode;
}

bool Driver::menuCommand(int id) {
    const std::optional<Command> command = commandOf(id);
    if (!command) return false;
    if (*command != Command::RestartTimer) command_ = *command;
    apply(flow_.command(*command));
    return true;
}

// Phonations are timed on the audio itself: the position of the buffer in
// the recording, not the moment its notification is handled.  A slow frame
// or a busy machine then delays the picture, never the patient's time.
// What a stopped device still hands back belongs to a recording that is
// over: it is released, never measured into the picture or the timer.
void Driver::captured(WAVEHDR* header) {
    // The samples as heard, before the measurement filters them in place.
    if (recorder().ownsHeader(header) && (header->dwFlags & WHDR_DONE) != 0) {
        const DWORD bytes = std::min(header->dwBytesRecorded, header->dwBufferLength);
        sound_.add(reinterpret_cast<const int16_t*>(header->lpData), bytes / 2);
    }
    view_.beforeMeasure(header);
    voice::processCapturedBuffer(recorder(), header, true, [this](std::optional<float> level) {
        clockMs_ = recorder().recordedMs();
        view_.measured(level);
    });
}

void Driver::captureClosed() {
    if (!recorder().markDeviceClosed()) return;  // an earlier recording's
    const std::optional<float> elapsedMs = session_.takeResult();
    if (elapsedMs) {
        takenTime_ = phonation::timeText(phonation::splitTime(*elapsedMs));
        takenStartMs_ = session_.takenStartMs();
        takenEndMs_ = takenStartMs_ + static_cast<uint32_t>(*elapsedMs);
    }
    apply(flow_.captureClosed(elapsedMs.has_value()));
}

void Driver::timer(UINT_PTR id) {
    if (voice::IsCaptureWatch(id) && voice::MicrophoneLost(view_.captureWindow())) apply(flow_.microphoneLost());
}

void Driver::destroyed() { apply(flow_.destroyed()); }

void Driver::apply(const Effects& effects) {
    for (const Do effect : effects) {
        const bool wasClosed = flow_.phase() == Phase::Closed;
        perform(effect);
        // The window went while this was done: what follows was for it.
        if (!wasClosed && flow_.phase() == Phase::Closed) return;
    }
}

// A new recording and a new session to time it: both clocks start at zero.
void Driver::startCapture() {
    session_.begin();
    sound_.begin();
    clockMs_ = 0;
    if (recorder().Start(view_.captureWindow())) return;
    session_.close();
    apply(flow_.captureStartFailed());  // the reason has been shown
}

void Driver::askConfirmation() {
    view_.showTakenTime(takenTime_);
    const bool confirmed = yes(view_.captureWindow(), phonation::confirmationQuestion(takenTime_), "");
    apply(flow_.confirmationAnswered(confirmed));
}

void Driver::perform(Do effect) {
    switch (effect) {
    case Do::RemoveResult:
        phonation::removeResultFile(program_.resultFile);
        phonation::removeResultFile(phonation::soundFileFor(program_.resultFile));
        break;
    // Every stop of the capture closes the session first, so nothing the
    // device still returns can start or end a phonation.
    case Do::StopCapture:
        session_.close();
        recorder().RequestStop();
        break;
    case Do::WindDown:
        session_.close();
        recorder().WindDown();
        break;
    case Do::ResetTimer: session_.resetTimer(); break;
    case Do::PauseDrawing: break;  // the flow's own state
    case Do::ResumeDrawing: view_.resumeDrawing(); break;
    case Do::RestoreDisplay: view_.restoreDisplay(); break;
    case Do::IdleScene: view_.idleScene(); break;
    case Do::ShowTitle: view_.showTitle(); break;
    case Do::ShowExercise: view_.showExercise(); break;
    case Do::StartCapture: startCapture(); break;
    case Do::StartWatch: voice::StartCaptureWatch(view_.captureWindow()); break;
    case Do::PurgeSound: PlaySoundW(nullptr, nullptr, SND_PURGE); break;
    case Do::AskExit: {
        view_.beforeExitQuestion();
        apply(flow_.exitAnswered(yes(view_.window(), "Você Tem Certeza que Deseja Sair?", "")));
        break;
    }
    case Do::RestoreAfterExit: view_.afterExitQuestion(); break;
    case Do::RunCalibration:
        voice::RunCalibrationCommand(instance_, view_.window(), commandId(command_));
        apply(flow_.commandDone(command_));
        break;
    case Do::AskExitCommand: apply(flow_.exitCommandAnswered(yes(view_.window(), "Tem Certeza que Deseja Sair?", kTitle))); break;
    case Do::AskConfirmation: askConfirmation(); break;
    case Do::WriteSound: {
        const std::string wav = phonation::wavFile(sound_.phonation(takenStartMs_, takenEndMs_), voice::kSampleRate);
        apply(flow_.soundWritten(phonation::writeSoundFile(phonation::soundFileFor(program_.resultFile), wav)));
        break;
    }
    case Do::ReportSoundError:
        ui::showMessage(nullptr, "Não foi possível gravar o som desta tentativa; o tempo será gravado sem ele.", kTitle,
                        MB_OK | MB_ICONWARNING);
        break;
    case Do::WriteResult: apply(flow_.resultWritten(phonation::writeResultFile(program_.resultFile, takenTime_))); break;
    case Do::ReportResultError: ui::showMessage(nullptr, program_.resultError, "", MB_OK); break;
    case Do::ReportLostMicrophone: voice::ReportLostMicrophone(view_.window(), kTitle); break;
    case Do::Close: PostMessageW(view_.window(), WM_CLOSE, 0, 0); break;
    case Do::Destroy:
        if (view_.window()) DestroyWindow(view_.window());
        break;
    case Do::Quit: PostQuitMessage(0); break;
    }
}

int runProgram(HINSTANCE instance, const Program& program, IView& view, Driver*& current) {
    Driver driver(program, view);
    current = &driver;
    const int exitCode = driver.run(instance);
    current = nullptr;
    return exitCode;
}

}  // namespace measure
