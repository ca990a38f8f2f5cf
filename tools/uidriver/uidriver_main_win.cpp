// The walkthrough of `make run` without a desktop: starts a program,
// measures the room noise, starts the exercise (the games' title or the
// adult program's invitation), sings into the virtual microphone,
// confirms the time, and leaves a screenshot of every step.
//
//   uidriver PROGRAM.exe WORKDIR SHOTDIR
#include <windows.h>

#include <cstdio>
#include <string>

#include "driver_win.h"
#include "samples.h"

namespace {

constexpr int kNoiseStart = 1028;

std::wstring g_shots;
int g_shotNumber = 0;

void shot(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%ls\\%02d-%ls.bmp", g_shots.c_str(), ++g_shotNumber, name);
    if (uidriver::saveScreenshot(path))
        std::printf("  screenshot %ls\n", path);
    else
        std::printf("  (could not save %ls)\n", path);
}

int fail(const char* what) {
    std::printf("walkthrough: %s\n", what);
    shot(L"failure");
    return 1;
}

void say(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: uidriver PROGRAM.exe WORKDIR SHOTDIR\n");
        return 2;
    }
    g_shots = argv[3];
    uidriver::Program program(argv[1], argv[2]);
    if (!program.started()) return fail("the program did not start");

    say("1. Room noise: waiting for the noise dialog");
    HWND noise = nullptr;
    if (!uidriver::waitFor([&] { return (noise = program.window(L"Ruido Externo...")) != nullptr; }, 60000))
        return fail("no noise dialog");
    Sleep(500);
    shot(L"noise-dialog");
    uidriver::PcmPlayer room(uidriver::roomNoise(4500));
    Sleep(300);
    uidriver::clickButton(noise, kNoiseStart);
    if (!uidriver::waitFor([&] { return uidriver::buttonEnabled(noise, IDOK); }, 30000))
        return fail("the noise measurement did not end");
    shot(L"noise-measured");
    uidriver::clickButton(noise, IDOK);

    say("2. Title picture");
    HWND game = nullptr;
    if (!uidriver::waitFor([&] { return (game = program.mainWindow()) && !program.window(L"Ruido Externo..."); },
                           20000))
        return fail("no game window after the noise dialog");
    Sleep(800);
    shot(L"title");
    // The games start with Enter, the adult program with a click.
    if (std::wstring(argv[1]).find(L"adulto") != std::wstring::npos)
        uidriver::click(game, 320, 140);
    else
        uidriver::pressKey(game, VK_RETURN);
    Sleep(1500);
    shot(L"playing-idle");

    say("3. A sustained vowel of 4 s");
    uidriver::PcmPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(4000)));
    Sleep(800 + 2500);
    shot(L"playing-voiced");

    say("4. Confirming the time");
    HWND confirm = nullptr;
    if (!uidriver::waitFor([&] { return (confirm = program.dialogWithText("Tempo Obtido")) != nullptr; }, 20000))
        return fail("no confirmation of the time");
    Sleep(300);
    std::printf("  %s\n", uidriver::dialogText(confirm).c_str());
    shot(L"confirm-time");
    uidriver::clickButton(confirm, IDYES);

    const long code = program.waitExit(20000);
    std::printf("5. The program ended with exit code %ld\n", code);
    return code == 0 ? 0 : 1;
}
