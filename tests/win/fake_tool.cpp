// Stand-in for the system's volume control and help viewer in the tests:
// a plain window whose title comes from TE_FAKE_TOOL_TITLE.
#include <windows.h>

static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
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
    return 0;
}
