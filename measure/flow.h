// The run of one measurement program, the same for the four games and the
// adult program: the room noise, the title (or the invitation), play, the
// questions that can interrupt it, the confirmation of a time and the end.
//
// The flow decides; it calls nothing.  Each event returns what the
// platform must do, in order, and the Windows driver (measure/driver_win.h)
// does it.  Where the programs differ, a Style says how.
//
//   noise         the noise dialog is open       measured -> title, refused -> closed
//   title         title picture or invitation    Enter or a click -> playing
//   playing       the capture runs               a phonation taken -> confirming
//   exitQuestion  the Esc question is open       Não -> where it was, Sim -> closed
//   confirming    "Tempo Obtido" is open         Sim -> closed, Não -> playing
//   closed        the window is gone or going
#pragma once

#include <cstdint>
#include <vector>

namespace measure {

enum class Phase { Noise, Title, Playing, ExitQuestion, Confirming, Closed };

// The Jogo menu's commands (voice/menu_commands.h gives their ids).
enum class Command { Exit, Noise, Intensity, Microphone, RestartTimer };

// What a transition asks of the platform.
enum class Do {
    RemoveResult,        // the result file and its sound hold nothing of this run
    StopCapture,         // close the phonation timer, ask the device to stop
    WindDown,            // close the timer, take every buffer back now
    ResetTimer,          // forget the running phonation
    PauseDrawing,
    ResumeDrawing,       // draw again once the window is in front
    RestoreDisplay,      // surfaces lost under a dialog are restored
    IdleScene,           // the figure goes back to rest
    ShowTitle,
    ShowExercise,        // the scene or the panel
    StartCapture,        // a new recording with a new timer; a failure is reported back
    StartWatch,          // the watch over the microphone
    PurgeSound,
    AskExit,             // "Você Tem Certeza que Deseja Sair?"; answered with exitAnswered
    RestoreAfterExit,    // the Esc question was declined: cursor, display, palette
    RunCalibration,      // the command's dialog; then commandDone
    AskExitCommand,      // "Tem Certeza que Deseja Sair?"; answered with exitCommandAnswered
    AskConfirmation,     // "Tempo Obtido ..."; answered with confirmationAnswered
    WriteSound,          // the phonation's sound beside the result; answered with soundWritten
    ReportSoundError,
    WriteResult,         // answered with resultWritten
    ReportResultError,
    ReportLostMicrophone,
    Close,               // the window is asked to close
    Destroy,             // the window is destroyed now
    Quit,                // the program ends, the window and the result file as they are
};

using Effects = std::vector<Do>;

struct Style {
    // The games remove an older result as they start; the adult program
    // keeps it until its measurement starts.
    bool ownsResultFromStart;
    // The adult program's "Sair" ends it without touching the result file.
    bool exitCommandKeepsResult;
    // The games stop drawing under every box; the adult graph goes on.
    bool pausesUnderBoxes;
};

inline constexpr Style kGameStyle{true, false, true};
inline constexpr Style kAdultStyle{false, true, false};

// The game shell's state values, as other programs and the test driver know them.
enum GameState : int32_t { gsTitle = 0, gsExitPrompt = 1, gsPlaying = 2, gsClosed = 4 };

class Flow {
public:
    explicit Flow(Style style) : style_(style) {}

    // Start-up: the result file as the style wants it before anything can fail.
    Effects started();
    Effects noiseMeasured(bool measured);
    Effects enterOrClick();
    Effects escape();
    Effects exitAnswered(bool yes);
    Effects command(Command command);
    Effects commandDone(Command command);  // its dialog has closed
    Effects exitCommandAnswered(bool yes);
    Effects captureStartFailed();
    // MM_WIM_CLOSE: `taken` when the recording ended with a phonation.
    Effects captureClosed(bool taken);
    Effects confirmationAnswered(bool yes);
    Effects soundWritten(bool ok);
    Effects resultWritten(bool ok);
    Effects microphoneLost();
    Effects destroyed();

    Phase phase() const { return phase_; }
    GameState gameState() const;
    // The title picture is shown until the exercise starts (also under the
    // Esc question asked from it).
    bool onTitle() const { return !exerciseShown_; }
    bool captureRunning() const { return captureRunning_; }
    bool resultSaved() const { return resultSaved_; }
    bool paused() const { return paused_; }
    void setPaused(bool paused) { paused_ = paused; }
    const Style& style() const { return style_; }

private:
    Effects startCapture();
    Effects stopCapture();
    Effects windDown();
    void pauseUnderBox(Effects& effects) const;

    Style style_;
    Phase phase_ = Phase::Noise;
    Phase beforeQuestion_ = Phase::Title;
    bool exerciseShown_ = false;
    bool captureRunning_ = false;  // started and not yet stopped by us or closed
    bool capturedBefore_ = false;
    bool firstCapture_ = false;    // the last start was the exercise's first
    bool commandOpen_ = false;     // a menu command's dialog or question is open
    bool resultOwned_ = false;  // an unconfirmed result file is removed at the end
    bool resultSaved_ = false;
    bool soundLost_ = false;  // the confirmed phonation's sound could not be written
    bool paused_ = false;
};

}  // namespace measure
