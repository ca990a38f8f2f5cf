// tavoral.exe: the launcher of the suite.
#include <windows.h>

#include "launcher/ckx2_app_win.h"

CKX2App theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return appframe::AfxWinMain(instance); }
