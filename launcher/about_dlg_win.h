// The About box, opened from the splash's system menu.
#pragma once

#include "launcher/appframe/dialog_win.h"

class CAboutDlg : public appframe::CDialog {
public:
    explicit CAboutDlg(HWND parent);
};
