// Every message box the programs show goes through showMessage, so tests
// can read the text and caption (and choose the answer) without a box
// blocking the run.  Texts are UTF-8 in the sources and reach Windows as
// UTF-16, so the accents show whatever the system's code page.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

// Replacement for MessageBoxW: gets the owner, UTF-8 text and caption and
// the MB_* flags, returns the button id (IDOK, IDYES, ...).
using MessageFunction = int (*)(HWND owner, const std::string& text,
                                const std::string& caption, UINT flags);

int showMessage(HWND owner, std::string_view text, std::string_view caption, UINT flags = MB_OK);

// Installs a replacement (nullptr restores the real message box); returns
// the previous one.
MessageFunction setMessageFunction(MessageFunction fn);

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

}  // namespace ui
