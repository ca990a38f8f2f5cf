// Helpers for the tests that run under Wine: a window that receives capture
// notifications, a message pump with time limits, a recorder of the
// message boxes the code would have shown, and a player that feeds the
// virtual microphone.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/uidriver/driver_win.h"

namespace testing_win {

// True when tools/testenv.sh gave us the virtual microphone.
bool haveVirtualMicrophone();

// Runs the message loop until `done` is true or `timeoutMs` passes.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Runs the message loop for `ms` milliseconds.
void pumpFor(DWORD ms);

// A hidden top-level window whose messages go to `handler` (return true
// when handled).
class TestWindow {
public:
    using Handler = std::function<bool(UINT, WPARAM, LPARAM)>;
    explicit TestWindow(Handler handler);
    ~TestWindow();
    HWND hwnd() const { return hwnd_; }
    void setHandler(Handler handler) { handler_ = std::move(handler); }

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    Handler handler_;
};

struct ShownMessage {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};

// While alive, message boxes are recorded instead of shown; each returns
// `answer` (IDOK, IDYES, IDNO...).
class MessageCapture {
public:
    explicit MessageCapture(int answer = IDOK);
    ~MessageCapture();
    const std::vector<ShownMessage>& messages() const;
    void clear();
    void setAnswer(int answer);
};

// Plays PCM into the virtual microphone (the UI driver's player).
using PcmPlayer = uidriver::PcmPlayer;

// A sine of `frequency` Hz and `amplitude`, `ms` long, at 11025 Hz.
std::vector<int16_t> sineWave(double frequency, double amplitude, int ms);

// The level the program measures for such a tone, computed here the same
// way, averaged over a few consecutive buffers.
float hostLevelOfSine(double frequency, double amplitude);

}  // namespace testing_win

namespace testing_win {

// Drives a modal dialog (or any modal loop) of this thread from a thread
// timer: each step runs on the timer until it returns true, then the next
// one starts.  The window given to a step is the thread's visible dialog,
// or nullptr when there is none.  If the script has not finished within
// `timeoutMs`, the dialog is ended with -2 and timedOut() says so.
class Script {
public:
    using Step = std::function<bool(HWND dialog)>;
    Script(std::vector<Step> steps, DWORD timeoutMs = 30000);
    ~Script();
    bool finished() const { return next_ >= steps_.size(); }
    bool timedOut() const { return timedOut_; }

    static Step waitMs(DWORD ms);

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    void run();
    std::vector<Step> steps_;
    size_t next_ = 0;
    DWORD deadline_;
    bool timedOut_ = false;
    bool running_ = false;
    UINT_PTR timer_ = 0;
};

HWND findThreadDialog();
void clickButton(HWND dialog, int id);
std::string windowText(HWND window);

}  // namespace testing_win
