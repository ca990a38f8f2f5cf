#include "measure/flow.h"

namespace measure {

GameState Flow::gameState() const {
    switch (phase_) {
    case Phase::Noise:
    case Phase::Title: return gsTitle;
    case Phase::ExitQuestion: return gsExitPrompt;
    case Phase::Playing:
    case Phase::Confirming: return gsPlaying;
    case Phase::Closed: break;
    }
    return gsClosed;
}

Effects Flow::startCapture() {
    captureRunning_ = true;
    firstCapture_ = !capturedBefore_;
    capturedBefore_ = true;
    return {Do::StartCapture};
}

Effects Flow::stopCapture() {
    captureRunning_ = false;
    return {Do::StopCapture};
}

Effects Flow::windDown() {
    captureRunning_ = false;
    return {Do::WindDown};
}

void Flow::pauseUnderBox(Effects& effects) const {
    if (style_.pausesUnderBoxes) effects.push_back(Do::PauseDrawing);
}

static void append(Effects& to, const Effects& more) { to.insert(to.end(), more.begin(), more.end()); }

Effects Flow::started() {
    // A run that ends without reaching the window's destruction (a crash,
    // a kill) must not leave an earlier run's result looking like its own.
    resultOwned_ = style_.ownsResultFromStart;
    if (resultOwned_) return {Do::RemoveResult};
    return {};
}

Effects Flow::noiseMeasured(bool measured) {
    if (phase_ != Phase::Noise) return {};
    if (!measured) return {Do::Destroy};
    phase_ = Phase::Title;
    return {Do::ShowTitle};
}

Effects Flow::enterOrClick() {
    if (phase_ != Phase::Title) return {};
    phase_ = Phase::Playing;
    exerciseShown_ = true;
    resultOwned_ = true;  // from here on, an unconfirmed result is this run's
    paused_ = false;
    Effects effects{Do::ShowExercise};
    append(effects, startCapture());
    effects.push_back(Do::StartWatch);
    return effects;
}

Effects Flow::captureStartFailed() {
    captureRunning_ = false;
    // Without its first recording the exercise cannot go on; a later start
    // that fails has been reported and the program waits for a calibration.
    if (firstCapture_) return {Do::Destroy};
    return {};
}

Effects Flow::escape() {
    if (phase_ != Phase::Title && phase_ != Phase::Playing) return {};
    beforeQuestion_ = phase_;
    phase_ = Phase::ExitQuestion;
    if (style_.pausesUnderBoxes) paused_ = true;
    Effects effects;
    pauseUnderBox(effects);
    effects.push_back(Do::AskExit);
    return effects;
}

Effects Flow::exitAnswered(bool yes) {
    if (yes) return {Do::Close};
    // Something else may have moved the program on while the question was
    // open (a phonation confirmed under it); then that holds.
    if (phase_ == Phase::ExitQuestion) phase_ = beforeQuestion_;
    if (phase_ == Phase::Closed) return {};
    if (style_.pausesUnderBoxes) paused_ = false;
    Effects effects{Do::RestoreAfterExit};
    if (phase_ == Phase::Title) effects.push_back(Do::ShowTitle);
    return effects;
}

Effects Flow::command(Command command) {
    if (command == Command::RestartTimer) {
        if (phase_ != Phase::Playing) return {};
        return {Do::ResetTimer, Do::IdleScene};
    }
    if (phase_ == Phase::Closed) return {};
    Effects effects;
    if (phase_ == Phase::Playing) {
        effects = stopCapture();
        if (style_.pausesUnderBoxes) paused_ = true;
        pauseUnderBox(effects);
        effects.push_back(Do::IdleScene);
    }
    commandOpen_ = true;
    effects.push_back(Do::PurgeSound);
    effects.push_back(command == Command::Exit ? Do::AskExitCommand : Do::RunCalibration);
    return effects;
}

Effects Flow::commandDone(Command) {
    commandOpen_ = false;
    if (phase_ != Phase::Playing) return {};
    Effects effects;
    if (style_.pausesUnderBoxes) effects = {Do::RestoreDisplay, Do::ResumeDrawing};
    // A time declined under the dialog has started the capture already.
    if (!captureRunning_) append(effects, startCapture());
    return effects;
}

Effects Flow::exitCommandAnswered(bool yes) {
    if (!yes) return commandDone(Command::Exit);
    commandOpen_ = false;
    if (!style_.exitCommandKeepsResult) return {Do::Destroy};
    phase_ = Phase::Closed;
    resultOwned_ = false;
    return {Do::Quit};
}

Effects Flow::captureClosed(bool taken) {
    captureRunning_ = false;
    if (!taken || phase_ == Phase::Closed) return {};
    phase_ = Phase::Confirming;
    return {Do::AskConfirmation};
}

Effects Flow::confirmationAnswered(bool yes) {
    if (phase_ != Phase::Confirming) return {};
    if (yes) return {Do::WriteSound};
    phase_ = Phase::Playing;
    Effects effects;
    if (style_.pausesUnderBoxes) {
        paused_ = true;
        effects = {Do::PauseDrawing, Do::ResumeDrawing};
    }
    // Under a menu command's dialog the recorder is the dialog's: the
    // capture starts again when the dialog closes.
    if (!commandOpen_) append(effects, startCapture());
    return effects;
}

// The time matters more than its sound: it is written all the same.  A
// sound that could not be written is said only once the time is safe;
// when the time cannot be written either, that is what the therapist is
// told, as always.
Effects Flow::soundWritten(bool ok) {
    soundLost_ = !ok;
    return {Do::WriteResult};
}

Effects Flow::resultWritten(bool ok) {
    if (!ok) return {Do::ReportResultError, Do::Destroy};
    resultSaved_ = true;
    if (soundLost_) return {Do::ReportSoundError, Do::Destroy};
    return {Do::Destroy};
}

Effects Flow::microphoneLost() {
    if (phase_ == Phase::Closed) return {};
    Effects effects = windDown();
    effects.push_back(Do::IdleScene);
    if (style_.pausesUnderBoxes) paused_ = true;
    pauseUnderBox(effects);
    effects.push_back(Do::ReportLostMicrophone);
    if (style_.pausesUnderBoxes) effects.push_back(Do::ResumeDrawing);
    return effects;
}

Effects Flow::destroyed() {
    phase_ = Phase::Closed;
    Effects effects = windDown();
    // A result file is only ever one confirmed in this run.
    if (resultOwned_ && !resultSaved_) effects.push_back(Do::RemoveResult);
    return effects;
}

}  // namespace measure
