// The launcher's application object: its start-up routine adjusts the
// display, shows the splash, starts the main interface, closes the
// runtime's window, keeps the splash for its 8 seconds and ends.
#pragma once

#include "launcher/appframe/winapp_win.h"
#include "launcher/runtime_win.h"

class CKX2App : public appframe::CWinApp {
public:
    BOOL InitInstance() override;

private:
    launcher::RuntimeProcess m_runtime;
};
