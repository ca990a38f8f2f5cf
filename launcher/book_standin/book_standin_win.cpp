// gui_kx.exe, for now: a minimal book window in place of the suite's main
// menu, so that the launcher and the runtime have a book to open.
#include <windows.h>

namespace {

constexpr wchar_t kClass[] = L"TavoralBookStandIn";

void drawCentred(HDC dc, RECT area, const wchar_t* text, int height, int weight, COLORREF colour) {
    HFONT font = CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, colour);
    DrawTextW(dc, text, -1, &area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH sky = CreateSolidBrush(RGB(188, 224, 248));
    FillRect(dc, &client, sky);
    DeleteObject(sky);
    SetBkMode(dc, TRANSPARENT);
    RECT title{client.left, client.top + 60, client.right, client.top + 140};
    drawCentred(dc, title, L"Tavoral", 56, FW_BOLD, RGB(36, 48, 112));
    RECT note{client.left + 40, client.top + 170, client.right - 40, client.bottom};
    drawCentred(dc, note, L"O menu principal dos exercícios ainda está em preparação.", 20, FW_NORMAL,
                RGB(24, 22, 30));
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    const int width = 640, height = 400;
    HWND hwnd = CreateWindowExW(0, kClass, L"Tavoral", WS_OVERLAPPEDWINDOW, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr,
                                instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
