#include "adult/adult_window_win.h"

#include <mmsystem.h>
#include <windowsx.h>

#include "adult/adult_state.h"
#include "adult/graph_win.h"
#include "adult/panel_win.h"
#include "winui/user_message_win.h"
#include "voice/volume_win.h"

namespace adult {
namespace {

constexpr wchar_t kWindowClass[] = L"RegistraClasse";
constexpr int kMenuResource = 154;
constexpr int kIconResource = 215;
constexpr int kWorkingPicture = 164;
constexpr int kInvitationPicture = 166;
constexpr int kWidth = 640, kHeight = 325;

// Everything the main window keeps, for the program's only thread.
struct Main {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HBITMAP invitation = nullptr;
    HBITMAP working = nullptr;
    HFONT font = nullptr;
    measure::Driver* driver = nullptr;
};
Main m;

measure::Driver& driver() { return *m.driver; }

HBITMAP loadPicture(int id) {
    return static_cast<HBITMAP>(LoadImageW(m.instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

BOOL OnCreate(HWND, LPCREATESTRUCT) {
    m.invitation = loadPicture(kInvitationPicture);
    m.working = loadPicture(kWorkingPicture);
    m.font = CreateFontW(42, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH, L"Arial");
    return TRUE;
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    const bool invitation = driver().flow().onTitle();
    HBITMAP picture = invitation ? m.invitation : m.working;
    BITMAP info{};
    if (picture && GetObjectW(picture, sizeof info, &info)) {
        HDC memory = CreateCompatibleDC(dc);
        SetMapMode(memory, GetMapMode(dc));
        HGDIOBJ old = SelectObject(memory, picture);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (!invitation && !shownTime().empty()) drawTimeBox(dc, m.font, shownTime());
    EndPaint(hwnd, &paint);
}

void OnKeyDown(HWND, UINT key, BOOL down, int, UINT) {
    if (!down) return;
    if (key == VK_RETURN) driver().enterOrClick();
    // The capture and the graph go on while the question is open.
    if (key == VK_ESCAPE) driver().escape();
}

void OnLButtonDown(HWND hwnd, BOOL, int, int, UINT) {
    if (driver().flow().phase() == measure::Phase::Title) PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
}

// The window can be moved, but neither minimized nor resized.
void OnSysCommand(HWND hwnd, UINT command, int x, int y) {
    if ((command & 0xFFF0) == SC_MINIMIZE || (command & 0xFFF0) == SC_SIZE) return;
    FORWARD_WM_SYSCOMMAND(hwnd, command, x, y, DefWindowProcW);
}

// The Jogo menu's commands are the flow's; anything else is the default's.
void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (control != nullptr || !driver().menuCommand(id)) FORWARD_WM_COMMAND(hwnd, id, control, code, DefWindowProcW);
}

void OnDestroy(HWND) {
    // Every buffer is taken back and the device closed now: the panel,
    // which would receive them, goes with this window.
    driver().destroyed();
    m.window = nullptr;
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(m.invitation), static_cast<HGDIOBJ>(m.working),
                           static_cast<HGDIOBJ>(m.font)})
        if (object) DeleteObject(object);
    m.invitation = m.working = nullptr;
    m.font = nullptr;
    voice::freeVolumeControl();
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_KEYDOWN, OnKeyDown);
        HANDLE_MSG(hwnd, WM_LBUTTONDOWN, OnLButtonDown);
        HANDLE_MSG(hwnd, WM_SYSCOMMAND, OnSysCommand);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool CreateMainWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = m.instance;
    wc.hIcon = LoadIconW(m.instance, MAKEINTRESOURCEW(kIconResource));
    wc.hIconSm = static_cast<HICON>(LoadImageW(m.instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = MAKEINTRESOURCEW(kMenuResource);
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc)) return false;
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 295, y = GetSystemMetrics(SM_CYSCREEN) / 2 - 137;
    m.window = CreateWindowExW(0, kWindowClass, ui::widen(kTitle).c_str(), WS_OVERLAPPEDWINDOW, x, y, kWidth, kHeight,
                               nullptr, nullptr, m.instance, nullptr);
    if (!m.window) return false;
    const LONG_PTR style = GetWindowLongPtrW(m.window, GWL_STYLE);
    SetWindowLongPtrW(m.window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    SetWindowPos(m.window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowWindow(m.window, SW_SHOWNORMAL);
    UpdateWindow(m.window);
    return true;
}

// The adult program's part of the flow: the invitation, the working
// picture and the panel with its graph.
class AdultView final : public measure::IView {
public:
    bool create(HINSTANCE) override { return CreateMainWindow(); }
    HWND window() const override { return m.window; }
    HWND captureWindow() const override { return panelWindow(); }
    void showTitle() override { SetForegroundWindow(m.window); }
    // The working picture, then the panel.
    void showExercise() override {
        InvalidateRect(m.window, nullptr, TRUE);
        UpdateWindow(m.window);
        CreatePanel(m.instance, m.window, driver());
    }
    void showTakenTime(const std::string& time) override { showTime(time); }
    void beforeMeasure(const WAVEHDR* header) override { panelBeforeMeasure(header); }
    void measured(std::optional<float> level) override { panelMeasured(level); }
};

const measure::Program kProgram{kResultFile, "Erro Criando Arq. Temporário", measure::kAdultStyle, 80.0f, true, {}};

}  // namespace

HWND mainWindow() { return m.window; }
HFONT timeFont() { return m.font; }

int RunAdult(HINSTANCE instance) {
    m.instance = instance;
    AdultView view;
    return measure::runProgram(instance, kProgram, view, m.driver);
}

}  // namespace adult
