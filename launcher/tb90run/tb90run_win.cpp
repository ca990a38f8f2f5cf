// TB90run.exe: stands in for the ToolBook runtime that the launcher starts.
//
//   TB90run BOOK
//
// Keeps a hidden top-level window titled "ToolBook" from its start until
// that window is closed or the book ends, and opens the book: the program
// BOOK in the runtime's own folder, started with the runtime's current
// directory.  Ends when the book ends, with the book's exit code.  Closing
// the window never ends the book.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "launcher/tb90run/book_path.h"

namespace {

constexpr wchar_t kRuntimeTitle[] = L"ToolBook";

// Not "ToolBook": that is the hidden window's title, which the launcher
// looks for and closes, and it could take a box of that title for it.
constexpr wchar_t kCaption[] = L"Tavoral";

void showError(const std::wstring& text) { MessageBoxW(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONERROR); }

// The window only has to exist (the launcher looks for it and closes it);
// the default handling destroys it on WM_CLOSE and nothing else follows.
HWND createRuntimeWindow(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"TB90runMain";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, kRuntimeTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 300,
                           200, nullptr, nullptr, instance, nullptr);
}

std::wstring ownPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return path.substr(0, n);
        path.resize(path.size() * 2);
    }
}

bool startBook(const std::wstring& path, PROCESS_INFORMATION& book) {
    std::wstring command = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &book);
}

// Serves the window's messages until the book's process ends.
DWORD runUntilEnded(HANDLE book) {
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &book, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) break;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DWORD code = 1;
    GetExitCodeProcess(book, &code);
    return code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2) {
        showError(L"Uso: TB90run LIVRO\nIndique o livro a abrir, por exemplo gui_kx.exe.");
        return 2;
    }
    const std::wstring book = argv[1];
    LocalFree(argv);

    HWND window = createRuntimeWindow(instance);
    const std::wstring path = tb90run::bookPathBeside(ownPath(), book);
    if (path.empty()) {
        showError(L"Livro inválido: \"" + book + L"\".\nO livro deve ser um arquivo na pasta do TB90run.");
        return 1;
    }
    PROCESS_INFORMATION process{};
    if (!startBook(path, process)) {
        showError(L"Livro " + book + L" Não Encontrado.\n" + path);
        return 1;
    }
    CloseHandle(process.hThread);
    const DWORD code = runUntilEnded(process.hProcess);
    CloseHandle(process.hProcess);
    if (IsWindow(window)) DestroyWindow(window);
    return static_cast<int>(code);
}
