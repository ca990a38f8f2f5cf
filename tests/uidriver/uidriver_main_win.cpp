// The walkthrough of `make run` without a desktop: starts a program,
// measures the room noise, starts the exercise (the games' title or the
// adult program's invitation), sings into the virtual microphone,
// confirms the time, and leaves a screenshot of every step.  For the
// launcher tavoral.exe: its splash, then the menu it starts.  Given the
// main menu (gui_kx.exe), it runs a session of two trials of the bee game
// started from the menu, with the menu's screen before, between and after,
// and writes the patient's report; the history file is
// kept in WORKDIR unless TAVORAL_HISTORICO names another folder.
//
//   uidriver PROGRAM.exe WORKDIR SHOTDIR
#include <windows.h>

#include <cstdio>
#include <string>

#include "driver_win.h"
#include "menu/menu_ids.h"
#include "samples.h"
#include "session_win.h"

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

int walkLauncher(const wchar_t* exe, const wchar_t* workDir) {
    uidriver::Program launcher(exe, workDir);
    if (!launcher.started()) return fail("the launcher did not start");
    say("1. The launcher's splash");
    HWND splash = nullptr;
    if (!uidriver::waitFor([&] { return (splash = launcher.window(L"Tavoral")) != nullptr; }, 30000))
        return fail("no splash");
    // The splash's background is black until its picture has painted.
    const RECT area = uidriver::clientRectOnScreen(splash);
    uidriver::waitFor([&] { return uidriver::screenPixel((area.left + area.right) / 2, area.top + 10) != 0; }, 5000);
    shot(L"splash");
    say("2. The book the runtime opens");
    HWND book = nullptr;
    if (!uidriver::waitFor([&] { return (book = uidriver::windowElsewhere(L"Tavoral", launcher.id())) != nullptr; },
                           30000))
        return fail("no book window");
    const long code = launcher.waitExit(30000);
    std::printf("3. The launcher ended with exit code %ld\n", code);
    Sleep(500);
    shot(L"book");
    PostMessageW(book, WM_CLOSE, 0, 0);
    return code == 0 ? 0 : 1;
}

bool isLauncher(const std::wstring& exe) {
    const std::wstring name = L"tavoral.exe";
    return exe.size() >= name.size() && _wcsicmp(exe.c_str() + exe.size() - name.size(), name.c_str()) == 0;
}

// One measurement in a program that is running: noise, title (or the adult
// program's invitation), vowel, "Sim".
int walkGame(uidriver::Program& program, bool adult, int vowelMs = 4000) {
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
    if (adult)
        uidriver::click(game, 320, 140);
    else
        uidriver::pressKey(game, VK_RETURN);
    Sleep(1500);
    shot(L"playing-idle");

    std::printf("3. A sustained vowel of %.1f s\n", vowelMs / 1000.0);
    std::fflush(stdout);
    uidriver::PcmPlayer vowel(uidriver::withLeadIn(uidriver::sustainedVowel(vowelMs)));
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

std::string controlText(HWND window, int id) { return uidriver::windowTitle(GetDlgItem(window, id)); }

int walkMenu(const wchar_t* exe, const wchar_t* workDir) {
    wchar_t folder[MAX_PATH];
    if (GetEnvironmentVariableW(menu::kHistoryFolderVariable, folder, MAX_PATH) == 0 &&
        GetFullPathNameW(workDir, MAX_PATH, folder, nullptr) > 0)
        SetEnvironmentVariableW(menu::kHistoryFolderVariable, folder);
    uidriver::Program program(exe, workDir);
    if (!program.started()) return fail("the menu did not start");
    say("The main menu");
    HWND window = nullptr;
    if (!uidriver::waitFor([&] { return (window = program.window(L"Tavoral")) != nullptr; }, 30000))
        return fail("no menu window");
    Sleep(800);
    shot(L"menu-before");
    HWND patient = FindWindowExW(GetDlgItem(window, menu::kPatient), nullptr, L"Edit", nullptr);
    uidriver::typeText(patient, "Ana Júlia");
    // A session of two trials of the bee game.
    SendMessageW(GetDlgItem(window, menu::kTrials), CB_SETCURSEL, 1, 0);
    const int vowels[] = {3500, 4500};
    for (int trial = 1; trial <= 2; ++trial) {
        std::printf("Trial %d of 2\n", trial);
        uidriver::postClick(window, trial == 1 ? menu::kFirstExercise : menu::kNextTrial);
        uidriver::GameSession game(L"abelha", 60000);
        if (!game.program().started()) return fail("the menu started no bee game");
        if (walkGame(game.program(), false, vowels[trial - 1]) != 0) return 1;
        const char* expected = trial == 1 ? "Tentativa 1 de 2" : "Melhor:";
        say("6. Back in the menu");
        if (!uidriver::waitFor([&] { return controlText(window, menu::kStatus).find(expected) != std::string::npos; },
                               20000))
            return fail("the menu shows no result");
        Sleep(800);
        std::printf("  %s\n", controlText(window, menu::kStatus).c_str());
        shot(trial == 1 ? L"menu-trial-1" : L"menu-session-summary");
    }
    // The session's summary and the results list, kept beside the screenshots.
    std::string summary = controlText(window, menu::kStatus) + "\n\nResultados:\n";
    for (const auto& line : uidriver::listBoxLines(GetDlgItem(window, menu::kResults))) {
        std::printf("  %s\n", line.c_str());
        summary += line + "\n";
    }
    if (FILE* file = _wfopen((g_shots + L"\\sessao.txt").c_str(), L"wb")) {
        std::fwrite(summary.data(), 1, summary.size(), file);
        std::fclose(file);
    }

    say("7. The patient's report");
    uidriver::postClick(window, menu::kReport);
    if (!uidriver::waitFor([&] { return controlText(window, menu::kStatus).find("Relatório de") != std::string::npos; },
                           20000))
        return fail("no report was written");
    std::printf("  %s\n", controlText(window, menu::kStatus).c_str());
    Sleep(1500);
    // Without a browser in this prefix the menu says where the report is.
    if (HWND none = program.dialogWithText("Nenhum programa")) uidriver::clickButton(none, IDOK);
    PostMessageW(window, WM_CLOSE, 0, 0);
    return program.waitExit(20000) == 0 ? 0 : 1;
}

bool isMenu(const std::wstring& exe) {
    const size_t slash = exe.find_last_of(L"\\/");
    const std::wstring name = slash == std::wstring::npos ? exe : exe.substr(slash + 1);
    return _wcsicmp(name.c_str(), L"gui_kx.exe") == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: uidriver PROGRAM.exe WORKDIR SHOTDIR\n");
        return 2;
    }
    g_shots = argv[3];
    if (isLauncher(argv[1])) return walkLauncher(argv[1], argv[2]);
    if (isMenu(argv[1])) return walkMenu(argv[1], argv[2]);
    uidriver::Program program(argv[1], argv[2]);
    if (!program.started()) return fail("the program did not start");
    return walkGame(program, std::wstring(argv[1]).find(L"adulto") != std::wstring::npos);
}
