#include "winui/external_tools_win.h"

#include <cstdio>
#include <initializer_list>
#include <string>

namespace ui {
namespace {

const wchar_t kRetitledVolumeControl[] = L"Controle de Volume - (Feche esta Janela para Voltar ao Jogo)";

struct Tool {
    const wchar_t* reopenTitle;      // the window of an earlier call, if still open
    const wchar_t* windowTitles[2];  // how a freshly started tool is found
    bool retitle;                    // give it the reopen title and show it again
    bool (*start)(PROCESS_INFORMATION*);
    DWORD idleWaitMs;    // how long the new process may take to be ready
    DWORD windowWaitMs;  // how long its window may take to appear after that
};

HWND findWindowTitled(const wchar_t* title) { return title ? FindWindowW(nullptr, title) : nullptr; }

bool startVolumeControlProcess(PROCESS_INFORMATION* process) {
    wchar_t windows[MAX_PATH] = {};
    if (GetWindowsDirectoryW(windows, MAX_PATH) == 0) return false;
    wchar_t path[MAX_PATH + 32];
    std::swprintf(path, MAX_PATH + 32, L"%ls\\sndVol32.exe", windows);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    wchar_t title[] = L" ";
    startup.lpTitle = title;
    return CreateProcessW(path, nullptr, nullptr, nullptr, TRUE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                          &startup, process) != 0;
}

// Windows since Vista has no sndVol32.exe; the recording level lives on the
// recording page of the Sound control panel.  Its dialog belongs to the
// rundll32 process started here, so ending that process ends the panel.
bool startSoundPanelProcess(PROCESS_INFORMATION* process) {
    std::wstring command = L"rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl,,1";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                          nullptr, &startup, process) != 0;
}

bool startHelpProcess(PROCESS_INFORMATION* process) {
    wchar_t current[MAX_PATH] = {};
    if (GetCurrentDirectoryW(MAX_PATH, current) == 0) return false;
    std::wstring command = L"winhlp32.exe " + std::wstring(current) + L"\\hlp\\brisalto";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    wchar_t title[] = L" ";
    startup.lpTitle = title;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                          nullptr, &startup, process) != 0;
}

const Tool kVolumeControl = {kRetitledVolumeControl, {L"Volume Control", L"Controle de Volume"}, true,
                             startVolumeControlProcess, INFINITE, 0};
const Tool kSoundPanel = {kRetitledVolumeControl, {L"Som", L"Sound"}, true, startSoundPanelProcess, 10000, 5000};
const Tool kHelp = {L"BrisAlto", {L"Brisalto", nullptr}, false, startHelpProcess, INFINITE, 0};

void bringBackGame(HWND gameWindow) {
    ShowWindow(gameWindow, SW_SHOWMAXIMIZED);
    SetForegroundWindow(gameWindow);
}

// Dispatches what is waiting, so capture notifications keep being handled.
// False when the quit message came; it is posted again for the program's
// own loop.
bool dispatchWaitingMessages(HWND tool) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (tool != nullptr && (!IsWindow(tool) || IsIconic(tool))) return true;
    }
    return true;
}

// Dispatches the program's messages until the tool's window is minimised
// or gone.  Sleeps between messages: minimising signals nothing, so the
// window is looked at again at least every 100 ms.
void waitWhileToolOpen(HWND tool, HANDLE process) {
    while (tool != nullptr && IsWindow(tool) && !IsIconic(tool)) {
        const DWORD handles = process != nullptr ? 1 : 0;
        const DWORD woke = MsgWaitForMultipleObjects(handles, process ? &process : nullptr, FALSE, 100, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 && process != nullptr) {
            // The tool ended: its window is gone or about to be.
            process = nullptr;
            continue;
        }
        if (!dispatchWaitingMessages(tool)) return;
    }
}

HWND findStartedToolWindow(const Tool& tool) {
    for (const wchar_t* title : tool.windowTitles)
        if (HWND window = findWindowTitled(title)) return window;
    return nullptr;
}

// A process that hands its window over late (the Sound panel) is given a
// moment, with the program's messages dispatched meanwhile.
HWND waitForToolWindow(const Tool& tool, HANDLE process) {
    WaitForInputIdle(process, tool.idleWaitMs);
    HWND window = findStartedToolWindow(tool);
    const DWORD started = GetTickCount();
    while (window == nullptr && GetTickCount() - started < tool.windowWaitMs) {
        if (MsgWaitForMultipleObjects(1, &process, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) break;  // it ended
        if (!dispatchWaitingMessages(nullptr)) break;
        window = findStartedToolWindow(tool);
    }
    return window;
}

// Opens the first of `tools` that starts (or the window an earlier call
// left open) and waits while it is open; the game window hides meanwhile.
void runTool(HWND gameWindow, std::initializer_list<const Tool*> tools) {
    HWND window = findWindowTitled((*tools.begin())->reopenTitle);
    ShowWindow(gameWindow, SW_HIDE);

    PROCESS_INFORMATION process{};
    if (window != nullptr) {
        ShowWindow(window, SW_RESTORE);
    } else {
        const Tool* started = nullptr;
        for (const Tool* tool : tools) {
            if (tool->start(&process)) {
                started = tool;
                break;
            }
        }
        if (started == nullptr) {
            bringBackGame(gameWindow);
            return;
        }
        window = waitForToolWindow(*started, process.hProcess);
        if (window != nullptr) {
            if (started->retitle) SetWindowTextW(window, started->reopenTitle);
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetForegroundWindow(window);
            if (started->retitle) ShowWindow(window, SW_SHOWNORMAL);
        }
    }

    waitWhileToolOpen(window, process.hProcess);

    if (window != nullptr && IsWindow(window)) {
        CloseWindow(window);
        DestroyWindow(window);  // only works for our own windows; harmless otherwise
    }
    if (process.hProcess != nullptr) {
        TerminateProcess(process.hProcess, 0);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    bringBackGame(gameWindow);
}

}  // namespace

void ShowVolumeControl(HWND gameWindow) { runTool(gameWindow, {&kVolumeControl, &kSoundPanel}); }

void ShowHelp(HWND gameWindow) { runTool(gameWindow, {&kHelp}); }

}  // namespace ui
