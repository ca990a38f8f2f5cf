// Resource numbers of the launcher tavoral.exe.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_KX2_DIALOG 102
#define IDB_SPLASH 133
#define IDR_MAINFRAME 134

// The About item of the splash's system menu.  System commands keep their
// low four bits for the system, so any command in 16...31 is this one.
#define IDM_ABOUTBOX 0x0010

#define IDC_SPLASH_PICTURE 1000
