// The programs' message loop: waits for messages (instead of polling) and
// dispatches them in order until the program's state says to stop.
#pragma once

#include <windows.h>

namespace ui {

// Until `done` holds.  False when the quit message came first; its code is
// then in `exitCode`.
template <class Done>
bool runMessagesUntil(Done done, int& exitCode) {
    MSG msg;
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            exitCode = got == 0 ? static_cast<int>(msg.wParam) : 0;
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace ui
