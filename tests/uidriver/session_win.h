// One run of a game program in a fresh working folder, with the steps every
// walkthrough shares: the room-noise measurement, the title, the start of
// play, the boxes the program shows.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "tests/uidriver/driver_win.h"
#include "tests/uidriver/test_environment_win.h"

namespace uidriver {

// The build tree that holds the programs and their art files: the folder
// above the running test program's own.
std::wstring buildTreeOfThisProgram();

std::string readFile(const std::wstring& path);
bool fileExists(const std::wstring& path);
// The time a confirmation box asks about, in ms:
// "Tempo Obtido: 00:03:99\nConfirma este Tempo?" -> 3990; -1 for another text.
long confirmedMs(const std::string& text);

class GameSession {
public:
    // Starts `program` ("abelha") from `buildDir` in a new folder under
    // %TEMP%, with its art file unless `withArt` is false, and with an
    // older result file holding `oldResult` when one is given.
    GameSession(const std::wstring& buildDir, const std::wstring& program, bool withArt = true,
                const char* oldResult = nullptr);
    // The same in a folder the caller made (one that is read-only, or
    // nearly full), already holding the art file; it is left as it is.
    struct GivenFolder {
        std::wstring path;
    };
    GameSession(const std::wstring& buildDir, const std::wstring& program, GivenFolder folder);
    // The game that something else (the menu) starts: waits up to
    // `timeoutMs` for its noise dialog, then drives it where it runs.
    // program() is not started() when no game came.
    GameSession(const std::wstring& program, DWORD timeoutMs);
    ~GameSession();  // ends the program and removes the folder it made
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    Program& program() { return *program_; }
    // The working folder the program runs in.
    const std::wstring& folder() const { return dir_; }
    // Only for a session with a folder of its own.
    std::wstring resultPath() const { return dir_ + L"\\" + name_ + L".dat"; }
    // The help text where F1 looks for it: hlp\brisalto in the working folder.
    std::wstring helpPath() const { return dir_ + L"\\hlp\\brisalto"; }
    // Copies the build's help text there; false when it cannot.
    bool installHelp();

    HWND noiseDialog();
    // Quiet room, "Obter Ruido Externo", OK.
    bool measureNoise();
    // The soak's sessions play the room noise of every noise measurement
    // through the audio server's own player: long enough that a capture a
    // fresh server starts late still hears the room all through, where
    // Wine's playback, cut short, would let a quiet room pass for the real
    // one.
    void playRoomNoiseThroughServer() { roomThroughServer_ = true; }
    // The game window once the noise dialog is gone.
    HWND title();
    // A dialog or message box of the program whose text starts with `text`.
    HWND box(const std::string& text, DWORD timeoutMs = 20000);
    // Noise, title, Enter, and the capture running: the exercise is on.
    HWND play();

    // The adult program: noise, the invitation, a click, and the capture
    // running (the time box shows).
    HWND startMeasuring();
    // The adult program's time box, cyan on its panel, shows a time.
    static bool timeBoxShown(HWND main);
    static RECT areaOf(HWND window, int left, int top, int right, int bottom);

    // Frames come only with captured buffers, and the scenery moves a little
    // on every frame: once it has changed twice, the capture is running.
    static bool waitForCapture(HWND game);

    // The microphone unplugged 3 s into a 6 s phonation (the audio server
    // stopped): the program must say so and ask about no partial time.
    // Then it is plugged back and the noise measured again from the menu,
    // as a therapist would.  Empty when all went so; what did not otherwise.
    std::string loseTheMicrophoneMidPhonation();

    // Where the last of the steps above went wrong, and whether the
    // program was still running then.
    const std::string& failure() const { return failure_; }

private:
    bool roomThroughServer_ = false;
    bool failed(const char* step);  // notes it; false

    std::wstring name_;
    std::wstring buildDir_;
    std::wstring dir_;
    bool ownsFolder_ = true;
    std::unique_ptr<Program> program_;
    std::string failure_;
};

}  // namespace uidriver
