#include "launcher/runtime_win.h"

#include <algorithm>
#include <string>

namespace launcher {
namespace {

// Nothing tells us when another process creates a window, so the wait
// looks again this often; in between the thread sleeps.
constexpr DWORD kLookAgainMs = 100;

bool timeLeft(DWORD start, DWORD limitMs, DWORD& left) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= limitMs) return false;
    left = limitMs - elapsed;
    return true;
}

}  // namespace

bool RuntimeProcess::start() {
    close();
    std::wstring command = L"TB90run gui_kx.exe";
    wchar_t title[] = L" ";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpTitle = title;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                        &startup, &info_)) {
        info_ = {};
        return false;
    }
    // The launcher never touches the runtime's thread.
    CloseHandle(info_.hThread);
    info_.hThread = nullptr;
    return true;
}

void RuntimeProcess::close() {
    if (info_.hProcess) CloseHandle(info_.hProcess);
    if (info_.hThread) CloseHandle(info_.hThread);
    info_ = {};
}

void dispatchWaitingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND waitForRuntimeWindow(HANDLE runtime, DWORD limitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindWindowW(nullptr, kRuntimeWindowTitle)) return window;
        DWORD left = 0;
        if (!timeLeft(start, limitMs, left)) return nullptr;
        const DWORD woke =
            MsgWaitForMultipleObjects(1, &runtime, FALSE, std::min(left, kLookAgainMs), QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) return nullptr;  // the runtime has ended
        if (woke == WAIT_OBJECT_0 + 1) dispatchWaitingMessages();
    }
}

void dispatchWhileVisible(HWND window, DWORD limitMs) {
    const DWORD start = GetTickCount();
    DWORD left = 0;
    while (IsWindowVisible(window) && timeLeft(start, limitMs, left)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT);
        dispatchWaitingMessages();
    }
}

}  // namespace launcher
