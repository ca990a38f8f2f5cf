// Stand-in for the system's volume control, the help viewer and a
// spreadsheet program in the tests: a plain window whose title comes from
// TE_FAKE_TOOL_TITLE.  Given a file, it opens it the way a spreadsheet
// does (for reading and writing, others may only read it), writes that
// file's path to TE_FAKE_TOOL_LOG, and holds it until its window closes.
#include <windows.h>
#include <shellapi.h>

static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// The file named on the command line, held open when TE_FAKE_TOOL_LOG is
// set; INVALID_HANDLE_VALUE otherwise or when it cannot be opened.
static HANDLE holdFileOfCommandLine() {
    wchar_t log[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"TE_FAKE_TOOL_LOG", log, MAX_PATH)) return INVALID_HANDLE_VALUE;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2) return INVALID_HANDLE_VALUE;
    HANDLE held = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE out = CreateFileW(log, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(out, argv[1], static_cast<DWORD>(wcslen(argv[1]) * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(out);
    LocalFree(argv);
    return held;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HANDLE held = holdFileOfCommandLine();
    wchar_t title[256] = L"Volume Control";
    GetEnvironmentVariableW(L"TE_FAKE_TOOL_TITLE", title, 256);
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"TeFakeTool";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, L"TeFakeTool", title, WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, nullptr, nullptr,
                                instance, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    return 0;
}
