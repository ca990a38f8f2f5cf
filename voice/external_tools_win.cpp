#include "voice/external_tools_win.h"

#include <cstdio>
#include <string>

namespace voice {
namespace {

const wchar_t kRetitledVolumeControl[] = L"Controle de Volume - (Feche esta Janela para Voltar ao Jogo)";

struct Tool {
    const wchar_t* reopenTitle;     // the window of an earlier call, if still open
    const wchar_t* windowTitles[2];  // how a freshly started tool is found
    bool retitle;                    // give it the reopen title and show it again
};

const Tool kVolumeControl = {kRetitledVolumeControl, {L"Volume Control", L"Controle de Volume"}, true};
const Tool kHelp = {L"BrisAlto", {L"Brisalto", nullptr}, false};

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

void bringBackGame(HWND gameWindow) {
    ShowWindow(gameWindow, SW_SHOWMAXIMIZED);
    SetForegroundWindow(gameWindow);
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
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!GetMessageW(&msg, nullptr, 0, 0)) {
                PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the program's own loop
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (!IsWindow(tool) || IsIconic(tool)) return;
        }
    }
}

void runTool(HWND gameWindow, const Tool& tool, bool (*start)(PROCESS_INFORMATION*)) {
    HWND window = findWindowTitled(tool.reopenTitle);
    ShowWindow(gameWindow, SW_HIDE);

    PROCESS_INFORMATION process{};
    if (window != nullptr) {
        ShowWindow(window, SW_RESTORE);
    } else {
        if (!start(&process)) {
            bringBackGame(gameWindow);
            return;
        }
        WaitForInputIdle(process.hProcess, INFINITE);
        for (const wchar_t* title : tool.windowTitles) {
            if (window == nullptr) window = findWindowTitled(title);
        }
        if (window != nullptr) {
            if (tool.retitle) SetWindowTextW(window, tool.reopenTitle);
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetForegroundWindow(window);
            if (tool.retitle) ShowWindow(window, SW_SHOWNORMAL);
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

void ShowVolumeControl(HWND gameWindow) { runTool(gameWindow, kVolumeControl, startVolumeControlProcess); }

void ShowHelp(HWND gameWindow) { runTool(gameWindow, kHelp, startHelpProcess); }

}  // namespace voice
