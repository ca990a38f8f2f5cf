// Message crackers for dialog procedures: a dialog procedure answers TRUE
// for a message it handled and puts the message's own result where the
// dialog manager looks for it, which SetDlgMsgResult does.
#pragma once

#include <windows.h>
#include <windowsx.h>

// In a dialog procedure whose parameters are named wParam and lParam, as
// HANDLE_MSG wants them in a window procedure.
#define HANDLE_DLG_MSG(hwnd, message, fn) \
    case (message):                       \
        return SetDlgMsgResult(hwnd, message, HANDLE_##message(hwnd, wParam, lParam, fn))
