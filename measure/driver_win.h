// The one Windows driver of the measurement flow (measure/flow.h), for the
// four games and the adult program: the start-up order, one run at a time,
// the recorder and the phonation timer, the watch over the microphone, the
// Jogo menu's commands, the questions, the confirmation and the result file.
// The game shell and the adult window keep only their drawing and turn
// their window messages into the calls below.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <string>

#include "measure/flow.h"
#include "phonation/capture_session.h"
#include "phonation/sound_keeper.h"
#include "voice/volume_win.h"

namespace measure {

struct Program {
    const char* resultFile;
    const char* resultError;  // said when the confirmed time cannot be written
    Style style;
    float maxDb;              // the top of the intensity band at start
    bool reportVolumeSetUpFailure;
    voice::VolumeMessages volumeMessages;
};

// What the game shell or the adult window does for the flow.
class IView {
public:
    // The window and what it draws with; false ends the program.
    virtual bool create(HINSTANCE instance) = 0;
    virtual HWND window() const = 0;         // boxes, the menu, the end
    virtual HWND captureWindow() const = 0;  // receives the capture's notifications
    virtual void showTitle() = 0;
    virtual void showExercise() = 0;
    virtual void idleScene() {}
    virtual void resumeDrawing() {}
    virtual void restoreDisplay() {}
    virtual void beforeExitQuestion() {}
    virtual void afterExitQuestion() {}
    virtual void showTakenTime(const std::string&) {}
    // A captured buffer, before its level is measured (which filters it in place).
    virtual void beforeMeasure(const WAVEHDR*) {}
    // Its level, or nothing for a buffer without a whole frame.
    virtual void measured(std::optional<float> level) = 0;

protected:
    ~IView() = default;
};

class Driver {
public:
    Driver(const Program& program, IView& view);
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // The whole program; returns the exit code.
    int run(HINSTANCE instance);

    // The window's messages.
    void enterOrClick() { apply(flow_.enterOrClick()); }
    void escape() { apply(flow_.escape()); }
    // True when `id` is one of the Jogo menu's commands (it has been handled).
    bool menuCommand(int id);
    void captured(WAVEHDR* header);  // MM_WIM_DATA
    void captureClosed();            // MM_WIM_CLOSE
    void timer(UINT_PTR id);         // WM_TIMER
    void destroyed();                // the main window's WM_DESTROY

    Flow& flow() { return flow_; }
    const Flow& flow() const { return flow_; }
    phonation::CaptureSession& session() { return session_; }
    // Where the running recording is, in ms of its own clock, as of the
    // last buffer measured.
    uint32_t clockMs() const { return clockMs_; }

private:
    void apply(const Effects& effects);
    void perform(Do effect);
    void startCapture();
    void askConfirmation();
    int leave(int exitCode);

    const Program& program_;
    IView& view_;
    Flow flow_;
    HINSTANCE instance_ = nullptr;
    phonation::CaptureSession session_;
    uint32_t clockMs_ = 0;
    phonation::SoundKeeper sound_;     // the running recording's sound
    Command command_ = Command::Exit;  // the menu command being run
    std::string takenTime_;            // the time being confirmed
    uint32_t takenStartMs_ = 0, takenEndMs_ = 0;  // where it lies on its recording
};

// Runs `program` with `view` to its end; `current` is its driver meanwhile,
// for the window procedures that turn messages into its events.
int runProgram(HINSTANCE instance, const Program& program, IView& view, Driver*& current);

}  // namespace measure
