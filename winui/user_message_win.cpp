#include "winui/user_message_win.h"

namespace ui {
namespace {

int realMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    return MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), flags);
}

MessageFunction g_messageFunction = realMessageBox;

}  // namespace

int showMessage(HWND owner, std::string_view text, std::string_view caption, UINT flags) {
    return g_messageFunction(owner, std::string(text), std::string(caption), flags);
}

MessageFunction setMessageFunction(MessageFunction fn) {
    MessageFunction previous = g_messageFunction;
    g_messageFunction = fn ? fn : realMessageBox;
    return previous;
}

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr,
                        nullptr);
    return utf8;
}

}  // namespace ui
