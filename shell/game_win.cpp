#include "shell/game_win.h"

#include <ddraw.h>
#include <windowsx.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <vector>

#include "engine/ddraw_win.h"
#include "engine/frame_win.h"
#include "engine/game_hooks.h"
#include "engine/bitmap_win.h"
#include "scenes/bitmap_set_win.h"
#include "scenes/scene.h"
#include "measure/driver_win.h"
#include "phonation/capture_session.h"
#include "shell/hud_win.h"
#include "voice/dialogs_win.h"
#include "winui/external_tools_win.h"
#include "voice/intensity.h"
#include "winui/user_message_win.h"
#include "voice/wave_recorder_win.h"

namespace shell {
namespace {

constexpr wchar_t kWindowClass[] = L"KeltumClass";
constexpr char kTitle[] = "Tempo Expiratório";
constexpr int kMenuResource = 154;
constexpr int kIconResource = 101;

class GameView;

// Everything the game window keeps, for its only thread.
struct Game {
    const GameProgram* program = nullptr;
    HWND window = nullptr;
    std::optional<scenes::Scene> scene;
    std::vector<const engine::GfxBitmap*> bitmapSet;
    engine::GameHooks hooks;
    bool appActive = false;
    measure::Driver* driver = nullptr;
    // What F11 put away, to give the window back as it was.
    struct Windowed {
        LONG_PTR style = 0;
        RECT rect{};
        HMENU menu = nullptr;
    } windowed;
};
Game g;

measure::Driver& driver() { return *g.driver; }
measure::Flow& flow() { return driver().flow(); }
voice::CWaveRecorder& recorder() { return voice::waveRecorder(); }

scenes::ScenePlanes planes() { return {engine::frontPlane(), engine::middlePlane(), engine::backPlane()}; }

// --- drawing state -------------------------------------------------------------

void PauseDrawing() { flow().setPaused(true); }

// After a box or dialog of the game's own has gone, the game window should
// be the active one again.  Now and then (seen under Wine, about once in
// two hundred answers) no window is active then, and the game stayed dark
// until clicked.  With no other program in front, the game takes the
// activation back.
HWND ResumeIfForeground() {
    if (!GetForegroundWindow() && IsWindowVisible(g.window) && !IsIconic(g.window)) SetForegroundWindow(g.window);
    HWND foreground = GetForegroundWindow();
    if (foreground == g.window) flow().setPaused(false);
    return foreground;
}

// The palette matters only on an 8-bit display.
void attachPalette() {
    engine::DisplayObjects& dd = engine::displayObjects();
    if (dd.palette && dd.frontBuffer) dd.frontBuffer->SetPalette(dd.palette);
}

void renewPalette() {
    engine::DisplayObjects& dd = engine::displayObjects();
    if (engine::displayConfig().bitsPerPixel != 8) return;
    if (dd.palette) dd.palette->Release();
    dd.palette = engine::gfxLoadPalette(nullptr);
}

// --- the engine's hooks ----------------------------------------------------------

int random200() { return std::rand() % 200; }

bool hookLoadBitmapSet() { return scenes::LoadBitmapSet(g.program->scene, g.bitmapSet); }

std::span<const engine::GfxBitmap* const> hookBitmapSet() { return g.bitmapSet; }

void hookCreateSprites() {
    g.scene.emplace(g.program->scene);
    const uint32_t now = GetTickCount();
    g.scene->createMainSprite(g.bitmapSet, now);
    g.scene->createExtraSprites(g.bitmapSet, now, random200);
}

bool playing() { return flow().gameState() == measure::gsPlaying; }

// One frame of the scene: motion while playing, the planes and sprites,
// then the HUD and the presentation.
void SceneStep() {
    if (!g.scene || !engine::gfxGameIsSetUp()) return;
    g.scene->step(planes(), playing(), GetTickCount());
    if (playing()) {
        DrawHud(static_cast<int32_t>(driver().session().runningMs(driver().clockMs())),
                voice::intensitySettings().currentDb);
        engine::gfxPresent();
    }
}

engine::GameHooks makeHooks(const scenes::SceneDescription& scene) {
    engine::GameHooks hooks;
    hooks.artFile = scene.artFile;
    hooks.front = {scene.front.list, scene.front.width, scene.front.height, scene.front.divisor};
    hooks.middle = {scene.middle.list, scene.middle.width, scene.middle.height, scene.middle.divisor};
    hooks.back = {scene.back.list, scene.back.width, scene.back.height, scene.back.divisor};
    hooks.loadBitmapSet = hookLoadBitmapSet;
    hooks.bitmapSet = hookBitmapSet;
    hooks.createSprites = hookCreateSprites;
    hooks.sceneStep = SceneStep;
    hooks.isPlaying = playing;
    hooks.pauseDrawing = PauseDrawing;
    hooks.createHud = CreateHud;
    hooks.releaseHud = ReleaseHudSurfaces;
    hooks.restoreHud = RestoreHudSurfaces;
    return hooks;
}

// --- the window's messages -------------------------------------------------------------

// The help viewer or the volume control: the game hides while it is open.
void runExternalTool(HWND hwnd, void (*show)(HWND)) {
    PauseDrawing();
    show(hwnd);
    engine::RestoreDisplay();
    ResumeIfForeground();
}

// F11: the window covers its monitor, without frame or menu, the frame
// scaled into it with its proportions kept (black bars beside it); F11
// again gives the window back.  The display mode never changes: a mode
// change flickers and blurs on a flat screen.
void toggleBorderless(HWND hwnd) {
    engine::DisplayConfig& display = engine::displayConfig();
    if (!display.borderless) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) return;
        g.windowed = {GetWindowLongPtrW(hwnd, GWL_STYLE), {}, GetMenu(hwnd)};
        GetWindowRect(hwnd, &g.windowed.rect);
        display.borderless = true;
        SetMenu(hwnd, nullptr);
        SetWindowLongPtrW(hwnd, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_SYSMENU);
        const RECT& area = monitor.rcMonitor;
        SetWindowPos(hwnd, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    } else {
        display.borderless = false;
        SetWindowLongPtrW(hwnd, GWL_STYLE, g.windowed.style);
        SetMenu(hwnd, g.windowed.menu);
        const RECT& r = g.windowed.rect;
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_FRAMECHANGED | SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    engine::gfxUpdatePresentRect();
    InvalidateRect(hwnd, nullptr, TRUE);
    if (flow().onTitle()) engine::gfxShowSplash();
}

// Without its menu bar the window shows the Jogo menu where Alt asks for it.
bool popUpGameMenu(HWND hwnd) {
    if (!engine::displayConfig().borderless || !g.windowed.menu) return false;
    RECT area{};
    GetWindowRect(hwnd, &area);
    TrackPopupMenu(GetSubMenu(g.windowed.menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, area.left + 8,
                   area.top + 8, 0, hwnd, nullptr);
    return true;
}

void OnActivateApp(HWND hwnd, BOOL active, DWORD) {
    g.appActive = active && GetForegroundWindow() == hwnd;
    if (!flow().paused() || !g.appActive) return;
    if (engine::RestoreDisplay()) {
        renewPalette();
        flow().setPaused(false);
        attachPalette();
        return;
    }
    if (GetForegroundWindow() == hwnd && engine::InitGraphics()) {
        // The start-up tore the scene down: build it again, so the next
        // frame has something to draw.
        if (playing()) engine::SetupGame();
        ResumeIfForeground();
    }
}

void OnMoveOrSize(HWND hwnd) {
    if (IsIconic(hwnd)) PauseDrawing();
    engine::gfxUpdatePresentRect();
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT paint;
    BeginPaint(hwnd, &paint);
    if (flow().onTitle())
        engine::gfxShowSplash();
    else if (flow().paused())
        SceneStep();
    EndPaint(hwnd, &paint);
}

void OnQueryNewPalette(HWND hwnd) {
    engine::DisplayObjects& dd = engine::displayObjects();
    if (engine::displayConfig().fullScreen || !dd.palette || !dd.frontBuffer) return;
    HRESULT result = dd.frontBuffer->SetPalette(dd.palette);
    if (result == DDERR_SURFACELOST) {
        dd.frontBuffer->Restore();
        result = dd.frontBuffer->SetPalette(dd.palette);
    }
    if (result == DD_OK) SetWindowTextW(hwnd, ui::widen(kTitle).c_str());
}

void OnDestroy(HWND) {
    // Every buffer is taken back and the device closed now: nobody will be
    // left to receive them.
    driver().destroyed();
    g.window = nullptr;
    engine::displayObjects().window = nullptr;
    if (engine::displayObjects().directDraw) engine::displayObjects().directDraw->RestoreDisplayMode();
    engine::ReleaseGraphics();
    DeleteHudObjects();
    engine::gfxReleaseSurfaces(true);
    voice::freeVolumeControl();
    PostQuitMessage(0);
}

// The rest of the window's messages, each in its own handler.  Where the
// default handling matters (activation, focus, sizing) it still runs.

void OnMove(HWND hwnd, int x, int y) {
    OnMoveOrSize(hwnd);
    FORWARD_WM_MOVE(hwnd, x, y, DefWindowProcW);
}

void OnSize(HWND hwnd, UINT state, int cx, int cy) {
    OnMoveOrSize(hwnd);
    FORWARD_WM_SIZE(hwnd, state, cx, cy, DefWindowProcW);
}

void OnKillFocus(HWND hwnd, HWND newFocus) {
    PauseDrawing();
    FORWARD_WM_KILLFOCUS(hwnd, newFocus, DefWindowProcW);
}

void OnActivate(HWND hwnd, UINT state, HWND other, BOOL minimized) {
    // Activated again after something of ours had the front (the app
    // stayed active, so no WM_ACTIVATEAPP comes): draw again.
    if (state != WA_INACTIVE && !minimized) ResumeIfForeground();
    FORWARD_WM_ACTIVATE(hwnd, state, other, minimized, DefWindowProcW);
}

void OnActivateAppMessage(HWND hwnd, BOOL active, DWORD thread) {
    OnActivateApp(hwnd, active, thread);
    FORWARD_WM_ACTIVATEAPP(hwnd, active, thread, DefWindowProcW);
}

// Esc is the flow's and consumed; the other keys go on to the default.
void OnKey(HWND hwnd, UINT key, BOOL down, int repeat, UINT flags) {
    if (!down) return;
    switch (key) {
    case VK_RETURN: driver().enterOrClick(); break;
    case VK_ESCAPE: driver().escape(); return;
    case VK_F1: runExternalTool(hwnd, ui::ShowHelp); break;
    case VK_F12: runExternalTool(hwnd, ui::ShowVolumeControl); break;
    case VK_F11: toggleBorderless(hwnd); return;
    }
    FORWARD_WM_KEYDOWN(hwnd, key, repeat, flags, DefWindowProcW);
}

// The Jogo menu's commands are the flow's; anything else is the default's.
void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (!driver().menuCommand(id)) FORWARD_WM_COMMAND(hwnd, id, control, code, DefWindowProcW);
}

// The window can be neither minimized nor resized.
void OnSysCommand(HWND hwnd, UINT command, int x, int y) {
    if ((command & 0xFFF0) == SC_MINIMIZE || (command & 0xFFF0) == SC_SIZE) return;
    if ((command & 0xFFF0) == SC_KEYMENU && popUpGameMenu(hwnd)) return;
    FORWARD_WM_SYSCOMMAND(hwnd, command, x, y, DefWindowProcW);
}

void OnLButtonDown(HWND hwnd, BOOL doubleClick, int x, int y, UINT keys) {
    if (flow().phase() == measure::Phase::Title) PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    FORWARD_WM_LBUTTONDOWN(hwnd, doubleClick, x, y, keys, DefWindowProcW);
}

BOOL OnQueryNewPaletteMessage(HWND hwnd) {
    OnQueryNewPalette(hwnd);
    return FORWARD_WM_QUERYNEWPALETTE(hwnd, DefWindowProcW);
}

void OnTimer(HWND, UINT id) { driver().timer(id); }

// The bars beside the scaled frame are black, whatever the window's own
// background (the girl's is white).
BOOL OnEraseBackground(HWND hwnd, HDC dc) {
    if (!engine::displayConfig().borderless) return FORWARD_WM_ERASEBKGND(hwnd, dc, DefWindowProcW);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return TRUE;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        HANDLE_MSG(hwnd, WM_MOVE, OnMove);
        HANDLE_MSG(hwnd, WM_SIZE, OnSize);
        HANDLE_MSG(hwnd, WM_KILLFOCUS, OnKillFocus);
        HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
        HANDLE_MSG(hwnd, WM_PAINT, OnPaint);
        HANDLE_MSG(hwnd, WM_ACTIVATEAPP, OnActivateAppMessage);
        HANDLE_MSG(hwnd, WM_KEYDOWN, OnKey);
        HANDLE_MSG(hwnd, WM_LBUTTONDOWN, OnLButtonDown);
        HANDLE_MSG(hwnd, WM_QUERYNEWPALETTE, OnQueryNewPaletteMessage);
        HANDLE_MSG(hwnd, WM_TIMER, OnTimer);
        HANDLE_MSG(hwnd, WM_ERASEBKGND, OnEraseBackground);
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_SYSCOMMAND, OnSysCommand);
    // The capture's notifications have no crackers of their own.
    case MM_WIM_DATA: driver().captured(reinterpret_cast<WAVEHDR*>(lParam)); return 1;
    case MM_WIM_CLOSE: driver().captureClosed(); return 1;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool CreateMainWindow(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(g.program->whiteBackground ? WHITE_BRUSH : BLACK_BRUSH));
    wc.lpszMenuName = engine::displayConfig().fullScreen ? nullptr : MAKEINTRESOURCEW(kMenuResource);
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassW(&wc)) return false;
    g.window = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, ui::widen(kTitle).c_str(),
                               WS_POPUP | WS_VISIBLE | WS_SYSMENU, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!g.window) return false;
    const LONG_PTR style = GetWindowLongPtrW(g.window, GWL_STYLE);
    SetWindowLongPtrW(g.window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME));
    UpdateWindow(g.window);
    SetFocus(g.window);
    return true;
}

void setDisplayDefaults() {
    engine::DisplayConfig& display = engine::displayConfig();
    display.requestedWidth = 640;
    display.requestedHeight = 480;
    display.bitsPerPixel = 16;
    display.fullScreen = false;
    display.halfView = false;
}

// The game's part of the flow: the scene, its drawing and the engine.
class GameView final : public measure::IView {
public:
    bool create(HINSTANCE instance) override {
        engine::gfxEnumDevices();
        setDisplayDefaults();
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        if (!CreateMainWindow(instance)) return false;
        engine::displayObjects().window = g.window;
        g.hooks = makeHooks(g.program->scene);
        engine::gfxSetGameHooks(&g.hooks);
        return engine::InitGraphics();
    }
    HWND window() const override { return g.window; }
    HWND captureWindow() const override { return g.window; }
    void showTitle() override { engine::gfxShowSplash(); }
    void showExercise() override {
        engine::RestoreDisplay();
        attachPalette();
        engine::SetupGame();
        ShowCursor(TRUE);
    }
    void idleScene() override {
        if (g.scene) g.scene->setMainIdle();
    }
    void resumeDrawing() override { ResumeIfForeground(); }
    void restoreDisplay() override { engine::RestoreDisplay(); }
    void beforeExitQuestion() override {
        ShowCursor(TRUE);
        if (engine::displayObjects().directDraw)
            engine::displayObjects().directDraw->SetCooperativeLevel(g.window, DDSCL_NORMAL);
    }
    void afterExitQuestion() override {
        ShowCursor(FALSE);
        engine::RestoreDisplay();
        renewPalette();
        attachPalette();
    }
    void measured(std::optional<float> level) override {
        if (level && g.scene && g.scene->hasSprites() && driver().session().open()) {
            PhonationEvents events;
            g.scene->onLevel(*level, planes(), driver().session(), voice::intensitySettings(), driver().clockMs(),
                             events);
        }
        if (!recorder().stopRequested() && !flow().paused() && !anotherBufferWaiting()) engine::RenderFrame();
    }

private:
    struct PhonationEvents final : phonation::IPhonationEvents {
        void renderFrame() override { engine::RenderFrame(); }
        void requestStop() override { recorder().RequestStop(); }
    };
    // When the machine falls behind, the waiting buffers are measured first
    // and the frames in between are skipped, so the picture catches up with
    // the voice instead of lagging further.
    static bool anotherBufferWaiting() {
        MSG msg;
        return PeekMessageW(&msg, g.window, MM_WIM_DATA, MM_WIM_DATA, PM_NOREMOVE) != 0;
    }
};

}  // namespace

int RunGame(HINSTANCE instance, const GameProgram& program) {
    g.program = &program;
    const measure::Program flowProgram{program.scene.resultFile, program.scene.resultError, measure::kGameStyle,
                                       100.0f, program.reportVolumeSetUpFailure, program.volumeMessages};
    GameView view;
    return measure::runProgram(instance, flowProgram, view, g.driver);
}

}  // namespace shell
