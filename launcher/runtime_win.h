// The launcher's side of the main interface: starting the ToolBook runtime
// with the book, and waiting for the runtime's window without blocking the
// splash and without spinning.
#pragma once

#include <windows.h>

namespace launcher {

inline constexpr wchar_t kRuntimeWindowTitle[] = L"ToolBook";
// A runtime that has shown no window after this long is not waited for.
inline constexpr DWORD kRuntimeWindowLimitMs = 60000;

// The started runtime's process; its handles are closed with it.
class RuntimeProcess {
public:
    RuntimeProcess() = default;
    ~RuntimeProcess() { close(); }
    RuntimeProcess(const RuntimeProcess&) = delete;
    RuntimeProcess& operator=(const RuntimeProcess&) = delete;

    // "TB90run gui_kx.exe", found by the system's program search; false
    // when the process cannot be started.
    bool start();
    HANDLE process() const { return info_.hProcess; }
    void close();

private:
    PROCESS_INFORMATION info_{};
};

// Dispatches the messages waiting in this thread's queue.
void dispatchWaitingMessages();

// The first top-level window titled "ToolBook", once one exists; nullptr
// when `runtime` ends first or `limitMs` passes.  Messages keep flowing
// meanwhile, so the splash paints and its timer fires.
HWND waitForRuntimeWindow(HANDLE runtime, DWORD limitMs);

// Dispatches messages while `window` is visible, for `limitMs` at most.
void dispatchWhileVisible(HWND window, DWORD limitMs);

}  // namespace launcher
