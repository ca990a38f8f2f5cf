// The measurement flow walked event by event, for the games and the adult
// program: what each event asks of the platform and where the run is then.
// The cases are the ones the programs met under Wine: a menu command
// mid-phonation, a result taken and then a command, the microphone lost
// while a stop is pending, Esc on the title.
#include "measure/flow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace measure {
namespace {

enum class Event {
    Started, NoiseMeasured, NoiseRefused, Enter, Escape, ExitYes, ExitNo,
    CalibrationCommand, CommandDone, ExitCommand, ExitCommandYes, ExitCommandNo, RestartTimer,
    StartFailed, ClosedTaken, ClosedEmpty, ConfirmYes, ConfirmNo, SoundWritten, SoundFailed, Written, WriteFailed,
    MicrophoneLost, Destroyed,
};

Effects send(Flow& flow, Event event) {
    switch (event) {
    case Event::Started: return flow.started();
    case Event::NoiseMeasured: return flow.noiseMeasured(true);
    case Event::NoiseRefused: return flow.noiseMeasured(false);
    case Event::Enter: return flow.enterOrClick();
    case Event::Escape: return flow.escape();
    case Event::ExitYes: return flow.exitAnswered(true);
    case Event::ExitNo: return flow.exitAnswered(false);
    case Event::CalibrationCommand: return flow.command(Command::Intensity);
    case Event::CommandDone: return flow.commandDone(Command::Intensity);
    case Event::ExitCommand: return flow.command(Command::Exit);
    case Event::ExitCommandYes: return flow.exitCommandAnswered(true);
    case Event::ExitCommandNo: return flow.exitCommandAnswered(false);
    case Event::RestartTimer: return flow.command(Command::RestartTimer);
    case Event::StartFailed: return flow.captureStartFailed();
    case Event::ClosedTaken: return flow.captureClosed(true);
    case Event::ClosedEmpty: return flow.captureClosed(false);
    case Event::ConfirmYes: return flow.confirmationAnswered(true);
    case Event::ConfirmNo: return flow.confirmationAnswered(false);
    case Event::SoundWritten: return flow.soundWritten(true);
    case Event::SoundFailed: return flow.soundWritten(false);
    case Event::Written: return flow.resultWritten(true);
    case Event::WriteFailed: return flow.resultWritten(false);
    case Event::MicrophoneLost: return flow.microphoneLost();
    case Event::Destroyed: return flow.destroyed();
    }
    return {};
}

struct Step {
    Event event;
    Effects expected;
    Phase after;
};

struct Case {
    const char* name;
    Style style;
    std::vector<Step> steps;
};

using enum Do;
constexpr Style G = kGameStyle;
constexpr Style A = kAdultStyle;

// The start every case shares up to play, per style.
std::vector<Step> toPlay(const Style& style) {
    return {
        {Event::Started, style.ownsResultFromStart ? Effects{RemoveResult} : Effects{}, Phase::Noise},
        {Event::NoiseMeasured, {ShowTitle}, Phase::Title},
        {Event::Enter, {ShowExercise, StartCapture, StartWatch}, Phase::Playing},
    };
}

std::vector<Case> cases() {
    std::vector<Case> all = {
        {"game: a time confirmed is written and kept", G,
         {{Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmYes, {WriteSound}, Phase::Confirming},
          {Event::SoundWritten, {WriteResult}, Phase::Confirming},
          {Event::Written, {Destroy}, Phase::Confirming},
          {Event::Destroyed, {WindDown}, Phase::Closed}}},
        {"adult: the same", A,
         {{Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmYes, {WriteSound}, Phase::Confirming},
          {Event::SoundWritten, {WriteResult}, Phase::Confirming},
          {Event::Written, {Destroy}, Phase::Confirming},
          {Event::Destroyed, {WindDown}, Phase::Closed}}},
        {"game: a time declined pauses under the box and records again", G,
         {{Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmNo, {PauseDrawing, ResumeDrawing, StartCapture}, Phase::Playing},
          {Event::Destroyed, {WindDown, RemoveResult}, Phase::Closed}}},
        {"adult: a time declined keeps the graph going", A,
         {{Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmNo, {StartCapture}, Phase::Playing},
          {Event::Destroyed, {WindDown, RemoveResult}, Phase::Closed}}},
        {"a folder that takes nothing: only the result's error is said, and nothing is kept", G,
         {{Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmYes, {WriteSound}, Phase::Confirming},
          {Event::SoundFailed, {WriteResult}, Phase::Confirming},
          {Event::WriteFailed, {ReportResultError, Destroy}, Phase::Confirming},
          {Event::Destroyed, {WindDown, RemoveResult}, Phase::Closed}}},
        {"adult: a sound that cannot be written is said once the time is kept", A,
         {{Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmYes, {WriteSound}, Phase::Confirming},
          {Event::SoundFailed, {WriteResult}, Phase::Confirming},
          {Event::Written, {ReportSoundError, Destroy}, Phase::Confirming},
          {Event::Destroyed, {WindDown}, Phase::Closed}}},
        {"game: a menu command mid-phonation stops, then records anew", G,
         {{Event::CalibrationCommand, {StopCapture, PauseDrawing, IdleScene, PurgeSound, RunCalibration}, Phase::Playing},
          {Event::ClosedEmpty, {}, Phase::Playing},
          {Event::CommandDone, {RestoreDisplay, ResumeDrawing, StartCapture}, Phase::Playing}}},
        {"adult: a menu command mid-phonation", A,
         {{Event::CalibrationCommand, {StopCapture, IdleScene, PurgeSound, RunCalibration}, Phase::Playing},
          {Event::CommandDone, {StartCapture}, Phase::Playing}}},
        {"a result taken, then a command: the command's dialog takes the recorder", G,
         {{Event::CalibrationCommand, {StopCapture, PauseDrawing, IdleScene, PurgeSound, RunCalibration}, Phase::Playing},
          {Event::CommandDone, {RestoreDisplay, ResumeDrawing, StartCapture}, Phase::Playing},
          {Event::ClosedEmpty, {}, Phase::Playing}}},
        {"a time confirmed under the command's dialog ends the run", G,
         {{Event::CalibrationCommand, {StopCapture, PauseDrawing, IdleScene, PurgeSound, RunCalibration}, Phase::Playing},
          {Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmYes, {WriteSound}, Phase::Confirming},
          {Event::SoundWritten, {WriteResult}, Phase::Confirming},
          {Event::Written, {Destroy}, Phase::Confirming},
          {Event::Destroyed, {WindDown}, Phase::Closed},
          {Event::CommandDone, {}, Phase::Closed}}},
        {"a time declined under the command's dialog waits for the dialog to record", G,
         {{Event::ExitCommand, {StopCapture, PauseDrawing, IdleScene, PurgeSound, AskExitCommand}, Phase::Playing},
          {Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmNo, {PauseDrawing, ResumeDrawing}, Phase::Playing},
          {Event::ExitCommandNo, {RestoreDisplay, ResumeDrawing, StartCapture}, Phase::Playing}}},
        {"game: Sair closes the window, which removes an unconfirmed result", G,
         {{Event::ExitCommand, {StopCapture, PauseDrawing, IdleScene, PurgeSound, AskExitCommand}, Phase::Playing},
          {Event::ExitCommandYes, {Destroy}, Phase::Playing},
          {Event::Destroyed, {WindDown, RemoveResult}, Phase::Closed}}},
        {"adult: Sair ends the program without touching the result", A,
         {{Event::ExitCommand, {StopCapture, IdleScene, PurgeSound, AskExitCommand}, Phase::Playing},
          {Event::ExitCommandYes, {Quit}, Phase::Closed},
          {Event::Destroyed, {WindDown}, Phase::Closed}}},
        {"Reiniciar Tempo forgets the running phonation only", G,
         {{Event::RestartTimer, {ResetTimer, IdleScene}, Phase::Playing}}},
        {"the microphone lost while a stop is pending", G,
         {{Event::MicrophoneLost, {WindDown, IdleScene, PauseDrawing, ReportLostMicrophone, ResumeDrawing}, Phase::Playing},
          {Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmNo, {PauseDrawing, ResumeDrawing, StartCapture}, Phase::Playing}}},
        {"adult: the microphone lost, then measured again", A,
         {{Event::MicrophoneLost, {WindDown, IdleScene, ReportLostMicrophone}, Phase::Playing},
          {Event::CalibrationCommand, {StopCapture, IdleScene, PurgeSound, RunCalibration}, Phase::Playing},
          {Event::CommandDone, {StartCapture}, Phase::Playing}}},
        {"Esc in play and Não: back to play", G,
         {{Event::Escape, {PauseDrawing, AskExit}, Phase::ExitQuestion},
          {Event::ExitNo, {RestoreAfterExit}, Phase::Playing}}},
        {"adult: a time taken under the Esc question holds after its Não", A,
         {{Event::Escape, {AskExit}, Phase::ExitQuestion},
          {Event::ClosedTaken, {AskConfirmation}, Phase::Confirming},
          {Event::ConfirmNo, {StartCapture}, Phase::Playing},
          {Event::ExitNo, {RestoreAfterExit}, Phase::Playing}}},
        {"a first capture that cannot start ends the program", G,
         {{Event::StartFailed, {Destroy}, Phase::Playing},
          {Event::Destroyed, {WindDown, RemoveResult}, Phase::Closed}}},
        {"a later capture that cannot start leaves the program waiting", A,
         {{Event::CalibrationCommand, {StopCapture, IdleScene, PurgeSound, RunCalibration}, Phase::Playing},
          {Event::CommandDone, {StartCapture}, Phase::Playing},
          {Event::StartFailed, {}, Phase::Playing}}},
    };
    for (Case& c : all) {
        std::vector<Step> steps = toPlay(c.style);
        steps.insert(steps.end(), c.steps.begin(), c.steps.end());
        c.steps = steps;
    }
    // Before play: the title and the noise dialog.
    const std::vector<Case> beforePlay = {
        {"game: the noise refused removes an older result", G,
         {{Event::Started, {RemoveResult}, Phase::Noise},
          {Event::NoiseRefused, {Destroy}, Phase::Noise},
          {Event::Destroyed, {WindDown, RemoveResult}, Phase::Closed}}},
        {"adult: the noise refused keeps an older result", A,
         {{Event::Started, {}, Phase::Noise},
          {Event::NoiseRefused, {Destroy}, Phase::Noise},
          {Event::Destroyed, {WindDown}, Phase::Closed}}},
        {"Esc during the title and Não: the title again, and Enter still starts", G,
         {{Event::Started, {RemoveResult}, Phase::Noise},
          {Event::NoiseMeasured, {ShowTitle}, Phase::Title},
          {Event::Escape, {PauseDrawing, AskExit}, Phase::ExitQuestion},
          {Event::Enter, {}, Phase::ExitQuestion},
          {Event::ExitNo, {RestoreAfterExit, ShowTitle}, Phase::Title},
          {Event::Enter, {ShowExercise, StartCapture, StartWatch}, Phase::Playing}}},
        {"adult: Esc and Sim on the invitation keeps an older result", A,
         {{Event::Started, {}, Phase::Noise},
          {Event::NoiseMeasured, {ShowTitle}, Phase::Title},
          {Event::Escape, {AskExit}, Phase::ExitQuestion},
          {Event::ExitYes, {Close}, Phase::ExitQuestion},
          {Event::Destroyed, {WindDown}, Phase::Closed}}},
        {"a command on the title records nothing", G,
         {{Event::Started, {RemoveResult}, Phase::Noise},
          {Event::NoiseMeasured, {ShowTitle}, Phase::Title},
          {Event::RestartTimer, {}, Phase::Title},
          {Event::CalibrationCommand, {PurgeSound, RunCalibration}, Phase::Title},
          {Event::CommandDone, {}, Phase::Title}}},
    };
    all.insert(all.end(), beforePlay.begin(), beforePlay.end());
    return all;
}

std::string names(const Effects& effects) {
    std::string text;
    for (const Do effect : effects) text += std::to_string(static_cast<int>(effect)) + " ";
    return text;
}

TEST(MeasureFlow, EveryEventAsksWhatThePlatformMustDo) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        Flow flow(c.style);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            SCOPED_TRACE("step " + std::to_string(i));
            EXPECT_EQ(names(send(flow, step.event)), names(step.expected));
            EXPECT_EQ(flow.phase(), step.after);
        }
    }
}

// The values the game shell's state has always had, and the picture the
// window paints.
TEST(MeasureFlow, GameStateAndTitlePictureFollowThePhase) {
    Flow flow(kGameStyle);
    const struct {
        Event event;
        GameState state;
        bool onTitle;
    } walk[] = {
        {Event::Started, gsTitle, true},       {Event::NoiseMeasured, gsTitle, true},
        {Event::Escape, gsExitPrompt, true},   {Event::ExitNo, gsTitle, true},
        {Event::Enter, gsPlaying, false},      {Event::ClosedTaken, gsPlaying, false},
        {Event::ConfirmNo, gsPlaying, false},  {Event::Escape, gsExitPrompt, false},
        {Event::Destroyed, gsClosed, false},
    };
    for (const auto& w : walk) {
        send(flow, w.event);
        EXPECT_EQ(flow.gameState(), w.state) << static_cast<int>(w.event);
        EXPECT_EQ(flow.onTitle(), w.onTitle) << static_cast<int>(w.event);
    }
}

}  // namespace
}  // namespace measure
