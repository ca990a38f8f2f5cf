#include "shell/game_win.h"

#include <commctrl.h>
#include <ddraw.h>
#include <windowsx.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "engine/ddraw_win.h"
#include "engine/frame_win.h"
#include "engine/game_hooks.h"
#include "engine/bitmap_win.h"
#include "scenes/bitmap_set_win.h"
#include "scenes/scene.h"
#include "phonation/capture_session.h"
#include "phonation/one_run_win.h"
#include "phonation/result_file.h"
#include "phonation/time_text.h"
#include "shell/hud_win.h"
#include "shell/shell_state.h"
#include "voice/capture_watch_win.h"
#include "voice/dialogs_win.h"
#include "voice/external_tools_win.h"
#include "voice/intensity.h"
#include "voice/menu_commands.h"
#include "voice/message_loop_win.h"
#include "voice/user_message_win.h"
#include "voice/wave_recorder_win.h"

namespace shell {
namespace {

constexpr wchar_t kWindowClass[] = L"KeltumClass";
constexpr char kTitle[] = "Tempo Expiratório";
constexpr int kMenuResource = 154;
constexpr int kIconResource = 101;

using voice::kCmdExit;
using voice::kCmdIntensity;
using voice::kCmdMicrophone;
using voice::kCmdNoise;
using voice::kCmdRestartTimer;

const GameProgram* g_program = nullptr;
HINSTANCE g_instance = nullptr;
HWND g_window = nullptr;
std::optional<scenes::Scene> g_scene;
std::vector<const engine::GfxBitmap*> g_bitmapSet;
phonation::CaptureSession g_session;  // the phonation timer of the running recording
uint32_t g_audioClockMs = 0;          // where that recording is, in ms (see audioClockMs)

ShellState& state() { return shellState(); }
voice::CWaveRecorder& recorder() { return voice::waveRecorder(); }

scenes::ScenePlanes planes() { return {engine::frontPlane(), engine::middlePlane(), engine::backPlane()}; }

// --- drawing state -------------------------------------------------------------

void PauseDrawing() { state().paused = true; }

// After a box or dialog of the game's own has gone, the game window should
// be the active one again.  Now and then (seen under Wine, about once in
// two hundred answers) no window is active then, and the game stayed dark
// until clicked.  With no other program in front, the game takes the
// activation back.
HWND ResumeIfForeground() {
    if (!GetForegroundWindow() && IsWindowVisible(g_window) && !IsIconic(g_window)) SetForegroundWindow(g_window);
    HWND foreground = GetForegroundWindow();
    if (foreground == g_window) state().paused = false;
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

bool hookLoadBitmapSet() { return scenes::LoadBitmapSet(g_program->scene, g_bitmapSet); }

std::span<const engine::GfxBitmap* const> hookBitmapSet() { return g_bitmapSet; }

void hookCreateSprites() {
    g_scene.emplace(g_program->scene);
    const uint32_t now = GetTickCount();
    g_scene->createMainSprite(g_bitmapSet, now);
    g_scene->createExtraSprites(g_bitmapSet, now, random200);
}

bool playing() { return state().gameState == gsPlaying; }

// One frame of the scene: motion while playing, the planes and sprites,
// then the HUD and the presentation.
void SceneStep() {
    if (!g_scene || !engine::gfxGameIsSetUp()) return;
    g_scene->step(planes(), playing(), GetTickCount());
    if (playing()) {
        DrawHud(static_cast<int32_t>(g_session.runningMs(g_audioClockMs)), voice::intensitySettings().currentDb);
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
engine::GameHooks g_hooks;

// --- voice -------------------------------------------------------------------------

// Phonations are timed on the audio itself: the position of the buffer in
// the recording, not the moment its notification is handled.  A slow frame
// or a busy machine then delays the picture, never the patient's time.
uint32_t audioClockMs() { return recorder().recordedMs(); }

struct PhonationEvents final : phonation::IPhonationEvents {
    void renderFrame() override { engine::RenderFrame(); }
    void requestStop() override { recorder().RequestStop(); }
};

// When the machine falls behind, the waiting buffers are measured first and
// the frames in between are skipped, so the picture catches up with the
// voice instead of lagging further.
bool anotherBufferWaiting() {
    MSG msg;
    return PeekMessageW(&msg, g_window, MM_WIM_DATA, MM_WIM_DATA, PM_NOREMOVE) != 0;
}

// MM_WIM_DATA: measure, move the scene, draw a frame, give the buffer back.
// What a stopped device still hands back belongs to a recording that is
// over: it is released, never measured into the scene or the timer.
void VoiceStep(WAVEHDR* header) {
    voice::processCapturedBuffer(recorder(), header, true, [](std::optional<float> level) {
        g_audioClockMs = audioClockMs();
        if (level && g_scene && g_scene->hasSprites() && g_session.open()) {
            PhonationEvents events;
            g_scene->onLevel(*level, planes(), g_session, voice::intensitySettings(), g_audioClockMs, events);
        }
        if (!recorder().stopRequested() && !state().paused && !anotherBufferWaiting()) engine::RenderFrame();
    });
}

// A new recording and a new session to time it: both clocks start at zero.
// False when the capture could not start (the reason has been shown).
bool startCapture() {
    g_session.begin();
    g_audioClockMs = 0;
    if (recorder().Start(g_window)) return true;
    g_session.close();
    return false;
}

// Every stop of the capture closes the session first, so nothing the
// device still returns can start or end a phonation.
void stopCapture() {
    g_session.close();
    recorder().RequestStop();
}

// MM_WIM_CLOSE: the capture has ended; a phonation taken waits for the
// therapist's confirmation.
void EndOfCapture() {
    recorder().markDeviceClosed();
    const std::optional<float> elapsedMs = g_session.takeResult();
    if (!elapsedMs) return;
    const std::string time = phonation::timeText(phonation::splitTime(*elapsedMs));
    if (ui::showMessage(g_window, phonation::confirmationQuestion(time), "", MB_YESNO) == IDYES) {
        if (phonation::writeResultFile(g_program->scene.resultFile, time))
            state().resultSaved = true;
        else
            ui::showMessage(nullptr, g_program->scene.resultError, "", MB_OK);
        DestroyWindow(g_window);
        return;
    }
    PauseDrawing();
    ResumeIfForeground();
    startCapture();
}

// The microphone went away: the phonation being timed is dropped and the
// scene waits until the therapist measures the noise again.
void OnCaptureWatch(HWND hwnd) {
    if (!voice::MicrophoneLost(hwnd)) return;
    g_session.close();
    recorder().WindDown();
    if (g_scene) g_scene->setMainIdle();
    PauseDrawing();
    voice::ReportLostMicrophone(hwnd, kTitle);
    ResumeIfForeground();
}

// --- the window's messages -------------------------------------------------------------

void stopForMenu() {
    if (state().gameState != gsPlaying) return;
    stopCapture();
    PauseDrawing();
    if (g_scene) g_scene->setMainIdle();
}

void restartAfterMenu() {
    if (state().gameState != gsPlaying) return;
    engine::RestoreDisplay();
    ResumeIfForeground();
    startCapture();  // a failure has been reported; the game goes on without capture
}

void OnMenuCommand(HWND hwnd, int id) {
    if (id == kCmdRestartTimer) {
        if (state().gameState == gsPlaying) {
            g_session.resetTimer();
            if (g_scene) g_scene->setMainIdle();
        }
        return;
    }
    stopForMenu();
    PlaySoundW(nullptr, nullptr, SND_PURGE);
    switch (id) {
    case kCmdNoise:
    case kCmdIntensity:
    case kCmdMicrophone: voice::RunCalibrationCommand(g_instance, hwnd, id); break;
    case kCmdExit:
        if (ui::showMessage(hwnd, "Tem Certeza que Deseja Sair?", kTitle, MB_YESNO) == IDYES) {
            DestroyWindow(hwnd);
            return;
        }
        break;
    }
    restartAfterMenu();
}

void confirmExit(HWND hwnd) {
    const int32_t previous = state().gameState;
    state().gameState = gsExitPrompt;
    PauseDrawing();
    ShowCursor(TRUE);
    if (engine::displayObjects().directDraw)
        engine::displayObjects().directDraw->SetCooperativeLevel(hwnd, DDSCL_NORMAL);
    if (ui::showMessage(hwnd, "Você Tem Certeza que Deseja Sair?", "", MB_YESNO) == IDYES) {
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        return;
    }
    ShowCursor(FALSE);
    engine::RestoreDisplay();
    renewPalette();
    state().paused = false;
    attachPalette();
    state().gameState = previous;
    if (previous == gsTitle) engine::gfxShowSplash();
}

void startExercise() {
    state().titlePhase = false;
    engine::RestoreDisplay();
    state().paused = false;
    attachPalette();
    state().gameState = gsPlaying;
    engine::SetupGame();
}

// The help viewer or the volume control: the game hides while it is open.
void runExternalTool(HWND hwnd, void (*show)(HWND)) {
    PauseDrawing();
    show(hwnd);
    engine::RestoreDisplay();
    ResumeIfForeground();
}

// True when the key is consumed (Esc); the others go on to the default.
bool OnKeyDown(HWND hwnd, UINT key) {
    switch (key) {
    case VK_RETURN:
        if (state().gameState == gsTitle) startExercise();
        return false;
    case VK_ESCAPE: confirmExit(hwnd); return true;
    case VK_F1: runExternalTool(hwnd, voice::ShowHelp); return false;
    case VK_F12: runExternalTool(hwnd, voice::ShowVolumeControl); return false;
    }
    return false;
}

void OnActivateApp(HWND hwnd, BOOL active, DWORD) {
    state().appActive = active && GetForegroundWindow() == hwnd;
    if (!state().paused || !state().appActive) return;
    if (engine::RestoreDisplay()) {
        renewPalette();
        state().paused = false;
        attachPalette();
        return;
    }
    if (GetForegroundWindow() == hwnd && engine::InitGraphics()) {
        // The start-up tore the scene down: build it again, so the next
        // frame has something to draw.
        if (state().gameState == gsPlaying) engine::SetupGame();
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
    if (state().titlePhase)
        engine::gfxShowSplash();
    else if (state().paused)
        SceneStep();
    EndPaint(hwnd, &paint);
}

void OnQueryNewPalette(HWND hwnd) {
    engine::DisplayObjects& dd = engine::displayObjects();
    if (state().fullScreen || !dd.palette || !dd.frontBuffer) return;
    HRESULT result = dd.frontBuffer->SetPalette(dd.palette);
    if (result == DDERR_SURFACELOST) {
        dd.frontBuffer->Restore();
        result = dd.frontBuffer->SetPalette(dd.palette);
    }
    if (result == DD_OK) SetWindowTextW(hwnd, ui::widen(kTitle).c_str());
}

void OnDestroy(HWND) {
    // Take every buffer back and close the device now: nobody will be
    // left to receive them.
    g_session.close();
    recorder().WindDown();
    g_window = nullptr;
    engine::displayObjects().window = nullptr;
    state().gameState = gsClosed;
    if (engine::displayObjects().directDraw) engine::displayObjects().directDraw->RestoreDisplayMode();
    engine::ReleaseGraphics();
    DeleteHudObjects();
    engine::gfxReleaseSurfaces(true);
    // A result file is only ever one confirmed in this run.
    if (!state().resultSaved) phonation::removeResultFile(g_program->scene.resultFile);
    voice::freeVolumeControl();
    PostQuitMessage(0);
}

// The rest of the window's messages, each in its own handler.  Where the
// default handling matters (activation, focus, sizing) it still runs.

BOOL OnCreate(HWND, LPCREATESTRUCT) {
    voice::resetSmoothing();
    return TRUE;
}

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

void OnKey(HWND hwnd, UINT key, BOOL down, int repeat, UINT flags) {
    if (down && OnKeyDown(hwnd, key)) return;
    if (down) FORWARD_WM_KEYDOWN(hwnd, key, repeat, flags, DefWindowProcW);
}

// The Jogo menu's commands are handled here; anything else is the default's.
void OnCommand(HWND hwnd, int id, HWND control, UINT code) {
    if (id >= kCmdExit && id <= kCmdRestartTimer) OnMenuCommand(hwnd, id);
    else FORWARD_WM_COMMAND(hwnd, id, control, code, DefWindowProcW);
}

// The window can be neither minimized nor resized.
void OnSysCommand(HWND hwnd, UINT command, int x, int y) {
    if ((command & 0xFFF0) == SC_MINIMIZE || (command & 0xFFF0) == SC_SIZE) return;
    FORWARD_WM_SYSCOMMAND(hwnd, command, x, y, DefWindowProcW);
}

void OnLButtonDown(HWND hwnd, BOOL doubleClick, int x, int y, UINT keys) {
    if (state().gameState == gsTitle) PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    FORWARD_WM_LBUTTONDOWN(hwnd, doubleClick, x, y, keys, DefWindowProcW);
}

BOOL OnQueryNewPaletteMessage(HWND hwnd) {
    OnQueryNewPalette(hwnd);
    return FORWARD_WM_QUERYNEWPALETTE(hwnd, DefWindowProcW);
}

void OnTimer(HWND hwnd, UINT id) {
    if (voice::IsCaptureWatch(id)) OnCaptureWatch(hwnd);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
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
        HANDLE_MSG(hwnd, WM_COMMAND, OnCommand);
        HANDLE_MSG(hwnd, WM_SYSCOMMAND, OnSysCommand);
    // The capture's notifications have no crackers of their own.
    case MM_WIM_DATA: VoiceStep(reinterpret_cast<WAVEHDR*>(lParam)); return 1;
    case MM_WIM_CLOSE: EndOfCapture(); return 1;
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
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(g_program->whiteBackground ? WHITE_BRUSH : BLACK_BRUSH));
    wc.lpszMenuName = state().fullScreen ? nullptr : MAKEINTRESOURCEW(kMenuResource);
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassW(&wc)) return false;
    g_window = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, ui::widen(kTitle).c_str(),
                               WS_POPUP | WS_VISIBLE | WS_SYSMENU, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!g_window) return false;
    const LONG_PTR style = GetWindowLongPtrW(g_window, GWL_STYLE);
    SetWindowLongPtrW(g_window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME));
    UpdateWindow(g_window);
    SetFocus(g_window);
    return true;
}

// Ends the program from anywhere after start-up: the window's destruction
// removes a stale result file and releases what the program holds.
int leave() {
    if (g_window) DestroyWindow(g_window);
    return 0;
}

void setDefaults() {
    voice::IntensitySettings& settings = voice::intensitySettings();
    settings.minDb = 10.0f;
    settings.maxDb = 100.0f;
    engine::DisplayConfig& display = engine::displayConfig();
    display.requestedWidth = 640;
    display.requestedHeight = 480;
    display.bitsPerPixel = 16;
    display.fullScreen = state().fullScreen = false;
    display.halfView = state().halfView = false;
    state().gameState = gsTitle;
}

}  // namespace

int RunGame(HINSTANCE instance, const GameProgram& program) {
    g_program = &program;
    g_instance = instance;
    const phonation::OnlyRun run(program.scene.resultFile);
    if (!run.claimed()) return 0;
    // Before anything can fail: an exit that never reaches the window's
    // destruction (a fatal graphics error, a crash, a kill) must not leave
    // an earlier run's result looking like this run's.
    phonation::removeResultFile(program.scene.resultFile);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    voice::setVolumeMessages(program.volumeMessages);
    if (voice::InitMicrophoneVolume() == 0 && program.reportVolumeSetUpFailure)
        ui::showMessage(nullptr, "NAO FOI POSSIVEL INICIALIZAR OS CONTROLES", "ERRO", MB_OK);

    engine::gfxEnumDevices();
    setDefaults();
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    if (!CreateMainWindow(instance)) return 0;
    engine::displayObjects().window = g_window;
    g_hooks = makeHooks(program.scene);
    engine::gfxSetGameHooks(&g_hooks);
    if (!engine::InitGraphics()) return leave();

    state().titlePhase = true;
    if (voice::NoiseDialog(instance, g_window) == 0) return leave();

    // The title: until Enter or a click starts the exercise.  An exit box
    // opened here belongs to the title too.
    int quitCode = 0;
    if (!ui::runMessagesUntil([] { return state().gameState == gsPlaying || state().gameState == gsClosed; },
                              quitCode) ||
        state().gameState == gsClosed)
        return leave();

    ShowCursor(TRUE);
    state().titlePhase = false;
    if (!startCapture()) return leave();
    voice::StartCaptureWatch(g_window);

    ui::runMessagesUntil([] { return state().gameState == gsClosed; }, quitCode);
    return leave();
}

}  // namespace shell
