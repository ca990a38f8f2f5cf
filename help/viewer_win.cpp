// winhlp32.exe: the suite's own help viewer.  The games start
// "winhlp32.exe <folder>\hlp\brisalto" with F1; a program beside them is
// found before the Windows folders, so this viewer answers.  It shows the
// topics in a list and the chosen topic's text beside it, in a maximized
// window titled "Brisalto".  A missing or damaged file is explained in the
// window itself.
#include <windows.h>
#include <windowsx.h>

#include <string>

#include "help/help_file.h"
#include "winui/user_message_win.h"

namespace {

constexpr wchar_t kClassName[] = L"BrisaltoHelpViewer";
constexpr wchar_t kTitle[] = L"Brisalto";
constexpr int kTopicList = 100;
constexpr int kTopicText = 101;
constexpr int kListWidth = 280;

// Everything the viewer's window keeps, for its only thread.
struct Viewer {
    help::HelpFile help;
    HWND list = nullptr;
    HWND text = nullptr;
    HFONT font = nullptr;
};
Viewer v;

// The file's bytes, or an explanation of why there are none.
help::HelpFile readHelpFile(const std::wstring& path) {
    help::HelpFile failed;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failed.error = "O arquivo de ajuda não foi encontrado:\r\n" + ui::narrow(path);
        return failed;
    }
    LARGE_INTEGER size{};
    std::string bytes;
    bool read = GetFileSizeEx(file, &size) != 0 && size.QuadPart <= static_cast<LONGLONG>(help::kLargestHelpFile);
    if (read) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        read = bytes.empty() ||
               (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
    }
    CloseHandle(file);
    if (!read) {
        failed.error = "O arquivo de ajuda não pôde ser lido:\r\n" + ui::narrow(path);
        return failed;
    }
    help::HelpFile parsed = help::parseHelp(bytes);
    if (!parsed.ok()) parsed.error += "\r\n" + ui::narrow(path);
    return parsed;
}

void showTopic(int index) {
    if (index < 0 || static_cast<size_t>(index) >= v.help.topics.size()) return;
    const help::Topic& topic = v.help.topics[static_cast<size_t>(index)];
    SetWindowTextW(v.text, ui::widen(topic.title + "\r\n\r\n" + help::topicText(topic)).c_str());
}

HFONT createReadableFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = -18;  // larger than the dialogs: this is reading matter
    return CreateFontIndirectW(&font);
}

HWND createChild(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int id) {
    HWND child = CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(v.font), FALSE);
    return child;
}

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    v.font = createReadableFont();
    v.list = createChild(hwnd, L"LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, kTopicList);
    v.text = createChild(hwnd, L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                         WS_EX_CLIENTEDGE, kTopicText);
    if (!v.help.ok()) {
        SetWindowTextW(v.text, ui::widen("Não foi possível mostrar a ajuda.\r\n\r\n" + v.help.error).c_str());
        return TRUE;
    }
    for (const help::Topic& topic : v.help.topics)
        SendMessageW(v.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ui::widen(topic.title).c_str()));
    SendMessageW(v.list, LB_SETCURSEL, 0, 0);
    showTopic(0);
    return TRUE;
}

void OnSize(HWND, UINT, int width, int height) {
    const int list = width / 3 < kListWidth ? width / 3 : kListWidth;
    MoveWindow(v.list, 0, 0, list, height, TRUE);
    MoveWindow(v.text, list, 0, width - list, height, TRUE);
}

void OnCommand(HWND, int id, HWND, UINT code) {
    if (id == kTopicList && code == LBN_SELCHANGE)
        showTopic(static_cast<int>(SendMessageW(v.list, LB_GETCURSEL, 0, 0)));
}

void OnSetFocus(HWND, HWND) { SetFocus(v.list); }

void OnDestroy(HWND) {
    if (v.font) DeleteObject(v.font);
    PostQuitMessage(0);
}

LRESULT CALLBACK ViewerWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_SIZE, OnSize);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_SETFOCUS, OnSetFocus);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
    v.help = readHelpFile(ui::widen(help::helpPathFromArguments(ui::narrow(arguments ? arguments : L""))));

    WNDCLASSW wc{};
    wc.lpfnWndProc = ViewerWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, IDI_QUESTION);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc)) return 1;
    HWND window = CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOWMAXIMIZED);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
