#include "adult/adult_window_win.h"

#include "phonation/one_run_win.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <windowsx.h>

#include "adult/adult_state.h"
#include "adult/graph_win.h"
#include "adult/panel_win.h"
#include "voice/dialogs_win.h"
#include "voice/intensity.h"
#include "voice/menu_commands.h"
#include "voice/message_loop_win.h"
#include "voice/user_message_win.h"
#include "voice/volume_win.h"

namespace adult {
namespace {

constexpr wchar_t kWindowClass[] = L"RegistraClasse";
constexpr int kMenuResource = 154;
constexpr int kIconResource = 215;
constexpr int kWorkingPicture = 164;
constexpr int kInvitationPicture = 166;
constexpr int kWidth = 640, kHeight = 325;

using voice::kCmdExit;
using voice::kCmdIntensity;
using voice::kCmdMicrophone;
using voice::kCmdNoise;
using voice::kCmdRestartTimer;

HINSTANCE g_instance = nullptr;
HWND g_main = nullptr;
HBITMAP g_invitation = nullptr;
HBITMAP g_working = nullptr;
HFONT g_font = nullptr;

AdultState& state() { return adultState(); }
bool measuring() { return state().mode == AdultMode::Measuring; }

// --- commands ------------------------------------------------------------------------

// Enter or a click on the invitation: the working picture, then the panel;
// the program's run starts the capture once this returns.
void startMeasurement(HWND hwnd) {
    state().startPicture = false;
    state().mode = AdultMode::Measuring;
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    CreatePanel(g_instance, hwnd);
}

void askToLeave(HWND hwnd) {
    const AdultMode previous = state().mode;
    state().mode = AdultMode::Asking;
    // The capture and the graph go on while the question is open.
    if (ui::showMessage(hwnd, "Você Tem Certeza que Deseja Sair?", "", MB_YESNO) == IDYES) {
        DestroyWindow(hwnd);
        return;
    }
    if (state().mode == AdultMode::Asking) state().mode = previous;
}

// The calibration commands and "Sair" stop the capture around their
// dialogs; the dialogs record on their own.
void OnMenuCommand(HWND hwnd, int id) {
    if (id == kCmdRestartTimer) {
        if (measuring()) restartTimer();
        return;
    }
    if (measuring()) stopCapture();
    PlaySoundW(nullptr, nullptr, SND_PURGE);
    switch (id) {
    case kCmdNoise:
    case kCmdIntensity:
    case kCmdMicrophone: voice::RunCalibrationCommand(g_instance, hwnd, id); break;
    case kCmdExit:
        // Ends the program without touching the result file.
        if (ui::showMessage(hwnd, "Tem Certeza que Deseja Sair?", kTitle, MB_YESNO) == IDYES) {
            PostQuitMessage(0);
            return;
        }
        break;
    }
    if (measuring()) startCapture();  // a failure has been reported; the program goes on without capture
}

// --- messages ----------------------------------------------------------------------------

HBITMAP loadPicture(int id) {
    return static_cast<HBITMAP>(LoadImageW(g_instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

BOOL OnCreate(HWND, LPCREATESTRUCT) {
    g_invitation = loadPicture(kInvitationPicture);
    g_working = loadPicture(kWorkingPicture);
    g_font = CreateFontW(42, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH, L"Arial");
    return TRUE;
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    HBITMAP picture = state().startPicture ? g_invitation : g_working;
    BITMAP info{};
    if (picture && GetObjectW(picture, sizeof info, &info)) {
        HDC memory = CreateCompatibleDC(dc);
        SetMapMode(memory, GetMapMode(dc));
        HGDIOBJ old = SelectObject(memory, picture);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (!state().startPicture && !shownTime().empty()) drawTimeBox(dc, g_font, shownTime());
    EndPaint(hwnd, &paint);
}

void OnKeyDown(HWND hwnd, UINT key, BOOL down, int, UINT) {
    if (!down) return;
    if (key == VK_RETURN && state().mode == AdultMode::Waiting) startMeasurement(hwnd);
    if (key == VK_ESCAPE) askToLeave(hwnd);
}

void OnLButtonDown(HWND hwnd, BOOL, int, int, UINT) {
    if (state().mode == AdultMode::Waiting) PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
}

// The window can be moved, but neither minimized nor resized.
void OnSysCommand(HWND hwnd, UINT command, int x, int y) {
    if ((command & 0xFFF0) == SC_MINIMIZE || (command & 0xFFF0) == SC_SIZE) return;
    FORWARD_WM_SYSCOMMAND(hwnd, command, x, y, DefWindowProcW);
}

// The Jogo menu's commands; anything else is the default's.
void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (control == nullptr && id >= kCmdExit && id <= kCmdRestartTimer) OnMenuCommand(hwnd, id);
    else FORWARD_WM_COMMAND(hwnd, id, control, code, DefWindowProcW);
}

void OnDestroy(HWND) {
    // Take every buffer back and close the device now: the panel, which
    // would receive them, goes with this window.
    endCapture();
    g_main = nullptr;
    state().mode = AdultMode::Ended;
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(g_invitation), static_cast<HGDIOBJ>(g_working),
                           static_cast<HGDIOBJ>(g_font)})
        if (object) DeleteObject(object);
    g_invitation = g_working = nullptr;
    g_font = nullptr;
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
    wc.hInstance = g_instance;
    wc.hIcon = LoadIconW(g_instance, MAKEINTRESOURCEW(kIconResource));
    wc.hIconSm = static_cast<HICON>(LoadImageW(g_instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = MAKEINTRESOURCEW(kMenuResource);
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc)) return false;
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 295, y = GetSystemMetrics(SM_CYSCREEN) / 2 - 137;
    g_main = CreateWindowExW(0, kWindowClass, ui::widen(kTitle).c_str(), WS_OVERLAPPEDWINDOW, x, y, kWidth, kHeight,
                             nullptr, nullptr, g_instance, nullptr);
    if (!g_main) return false;
    const LONG_PTR style = GetWindowLongPtrW(g_main, GWL_STYLE);
    SetWindowLongPtrW(g_main, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    SetWindowPos(g_main, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowWindow(g_main, SW_SHOWNORMAL);
    UpdateWindow(g_main);
    return true;
}

// The end of the run.  The device stops here whatever ended the program;
// the result file is left as the way of ending decided.
int finish(int exitCode) {
    endCapture();
    return exitCode;
}

}  // namespace

AdultState& adultState() {
    static AdultState s;
    return s;
}

HWND mainWindow() { return g_main; }
HFONT timeFont() { return g_font; }

int RunAdult(HINSTANCE instance) {
    g_instance = instance;
    const phonation::OnlyRun run(kResultFile);
    if (!run.claimed()) return 0;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    voice::setVolumeMessages({});
    if (voice::InitMicrophoneVolume() == 0)
        ui::showMessage(nullptr, "NAO FOI POSSIVEL INICIALIZAR OS CONTROLES", "ERRO", MB_OK);

    voice::IntensitySettings& settings = voice::intensitySettings();
    settings.minDb = 10.0f;
    settings.maxDb = 80.0f;
    state().mode = AdultMode::Waiting;
    voice::resetSmoothing();

    // The noise is measured before anything else, over the invitation.
    state().startPicture = true;
    if (!CreateMainWindow()) return 0;
    if (voice::NoiseDialog(instance, g_main) == 0) {
        DestroyWindow(g_main);  // no panel yet: the result file stays as it is
        return finish(0);
    }
    SetForegroundWindow(g_main);

    int exitCode = 0;
    if (!ui::runMessagesUntil([] { return state().mode != AdultMode::Waiting; }, exitCode)) return finish(exitCode);
    if (state().mode == AdultMode::Ended) return finish(0);

    state().startPicture = false;
    if (!startCapture()) return finish(0);

    ui::runMessagesUntil([] { return state().mode == AdultMode::Ended; }, exitCode);
    return finish(exitCode);
}

}  // namespace adult
