// Drives a game program from outside, the way a therapist would: finds
// its windows and dialogs, presses their buttons and keys, plays sound
// into the (virtual) microphone and takes screenshots.  Used by the
// `make run` walkthrough and by the end-to-end tests.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace uidriver {

// Polls `done` every 20 ms until it holds or `timeoutMs` passes.
bool waitFor(const std::function<bool()>& done, DWORD timeoutMs);
// Milliseconds on the performance counter, for timing intervals finer than
// GetTickCount's.
double nowMs();

// What the soak samples of a running program.  -1: not reported (Wine,
// for one, keeps no per-process count of GDI objects).
struct ProcessSample {
    double cpuSeconds = -1.0;
    int64_t privateBytes = -1;
    int64_t handles = -1;
    int64_t gdiObjects = -1;
};

class Program {
public:
    // Starts `exe` with `workDir` as its current directory, and with
    // `arguments` after the program's name on its command line.
    Program(const std::wstring& exe, const std::wstring& workDir, const std::wstring& arguments = L"");
    // A program that something else started (the menu starts the games):
    // the one that owns `window`.
    explicit Program(HWND window);

    ~Program();  // ends the program if it is still running
    bool started() const { return process_.hProcess != nullptr; }
    DWORD id() const { return process_.dwProcessId; }
    bool running() const;
    // Waits for the program to end; its exit code, or -1 on timeout.
    long waitExit(DWORD timeoutMs);
    // User plus kernel CPU time the program has used so far, in seconds;
    // negative when it cannot be read.
    double cpuSeconds() const;
    ProcessSample sample() const;

    // The program's visible top-level window titled `title` ("#32770"
    // dialogs and message boxes included); nullptr when none.
    HWND window(const std::wstring& title) const;
    // A visible dialog or message box of the program whose text (caption
    // or static text) starts with `text`.
    HWND dialogWithText(const std::string& text) const;
    // The program's main window: a game's ("KeltumClass") or the adult
    // program's ("RegistraClasse").
    HWND mainWindow() const;

private:
    PROCESS_INFORMATION process_{};
};

// A visible top-level window titled `title` of any process but
// `exceptProcess`: a window of a program that another one started.
HWND windowElsewhere(const std::wstring& title, DWORD exceptProcess);
DWORD windowProcess(HWND window);
// A running process started from `exeName` ("TB90run.exe"), opened to wait
// on and to end; nullptr when there is none.  The caller closes it.
HANDLE openProcessNamed(const wchar_t* exeName);
// A visible dialog or message box of `process` (of any process when 0)
// whose caption or static text starts with `text`.
HWND dialogOfProcessWithText(DWORD process, const std::string& text);
// A visible top-level window titled `title`, of any process.
HWND anyWindowTitled(const std::wstring& title);

void clickButton(HWND dialog, int id);
// The same without waiting for the click's handling: for a button that
// opens a modal box, which would hold a sent click until it closes.
void postClick(HWND dialog, int id);
void pressKey(HWND window, UINT key);
// A left click at (x, y) of the window's client area.
void click(HWND window, int x, int y);
bool buttonEnabled(HWND dialog, int id);
// Texts of a dialog's static controls, joined with line breaks.
std::string dialogText(HWND dialog);
std::string windowTitle(HWND window);
// The text of a control of another program (an edit box's contents), asked
// of the control itself.
std::string controlText(HWND control);

// The whole screen at one moment; empty when it cannot be read.
struct ScreenGrab {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // top row first
    COLORREF at(int x, int y) const;  // CLR_INVALID outside
};
ScreenGrab grabScreen();
// The lines of a list box, as it shows them.
std::vector<std::string> listBoxLines(HWND list);
// Types `text` (UTF-8) into an edit field, replacing what it held, one
// character message at a time as a keyboard would.
void typeText(HWND edit, const std::string& text);

// Saves the whole screen as a 24-bit BMP; false when it cannot.
bool saveScreenshot(const std::wstring& path);
// Two colours within `tolerance` of each other in every channel: a
// picture scaled or blended may shade a colour a little.
bool nearColour(COLORREF a, COLORREF b, int tolerance = 40);
// One pixel of the screen, as RGB.
COLORREF screenPixel(int x, int y);
// Pixels of `colour` in the screen area, every other row and column.
int countColour(RECT area, COLORREF colour);
// Pixels of one colour in a rectangle of the screen, read in a single copy:
// reading them one by one would take the X server longer than a buffer.
// The copy is kept for counting again.
class ScreenArea {
public:
    explicit ScreenArea(RECT area);
    ~ScreenArea();
    ScreenArea(const ScreenArea&) = delete;
    ScreenArea& operator=(const ScreenArea&) = delete;

    bool ok() const { return bitmap_ != nullptr; }
    // Copies the screen again and counts; -1 when it cannot.
    int count(COLORREF colour);

private:
    RECT area_;
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
    size_t pixels_ = 0;
};

// How many pixels of `area` (screen coordinates) are exactly `colour`.
int countScreenColour(const RECT& area, COLORREF colour);
// The window's client area on the screen.
RECT clientRectOnScreen(HWND window);

// The format the driver plays and listens in: 16-bit mono PCM at 11025 Hz.
WAVEFORMATEX monoPcm16();

// Plays 16-bit mono PCM at 11025 Hz on the default output (the virtual
// microphone under the test environment).
class PcmPlayer {
public:
    explicit PcmPlayer(std::vector<int16_t> samples);
    ~PcmPlayer();
    bool started() const { return started_; }
    bool finished() const;

private:
    std::vector<int16_t> samples_;
    HWAVEOUT device_ = nullptr;
    WAVEHDR header_{};
    bool started_ = false;
};

}  // namespace uidriver
