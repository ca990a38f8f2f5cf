// Resource and control numbers of the menu's own dialogs, shared by the
// resource script and the menu's code.
#pragma once

#define IDD_RENAME 300
#define IDC_RENAME_CURRENT 301
#define IDC_RENAME_NEW 302
