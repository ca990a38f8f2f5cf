#include "launcher/about_dlg_win.h"

#include "resources/tavoral/resource.h"

CAboutDlg::CAboutDlg(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}
