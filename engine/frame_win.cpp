#include "engine/frame_win.h"

#include <cstdlib>
#include <ctime>

#include "engine/art_archive.h"
#include "engine/bitmap_win.h"
#include "engine/blit.h"
#include "engine/ddraw_win.h"
#include "engine/game_hooks.h"
#include "engine/plane.h"
#include "engine/trace.h"

namespace engine {
namespace {

const GameHooks* g_hooks = nullptr;
GfxBitmap* g_splash = nullptr;
int32_t g_gfxHandle = 0;  // 1 while the graphics are started
TileList* g_tileList = nullptr;
bool g_gameSetUp = false;
Plane g_front;
Plane g_middle;
Plane g_back;

constexpr uint16_t kTileSlots = 170;
constexpr int32_t kArtHandles = 5;

void releaseBitmapSurface(SurfaceHandle surface) {
    if (surface != nullptr) toSurface(surface)->Release();
}

void endGraphicsOnFatal() { gfxEnd(); }

RECT toRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Written with GDI straight on the window: the surfaces may not exist yet.
void writeWaitMessage() {
    HWND window = displayObjects().window;
    if (window == nullptr) return;
    HDC dc = GetDC(window);
    if (dc == nullptr) return;
    static constexpr wchar_t kText[] = L"Aguarde Inicializando...";
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutW(dc, 10, 10, kText, static_cast<int>(sizeof kText / sizeof kText[0] - 1));
    ReleaseDC(window, dc);
}

// The client area on the screen: the menu and caption heights differ from
// one system (and theme) to the next, so the splash is placed by the
// window's real client area rather than by fixed offsets from its frame.
bool splashDestination(RECT& dest) {
    HWND window = displayObjects().window;
    if (window == nullptr) return false;
    if (displayConfig().fullScreen) return GetWindowRect(window, &dest) != FALSE;
    RECT client{};
    if (!GetClientRect(window, &client)) return false;
    POINT topLeft{client.left, client.top};
    POINT bottomRight{client.right, client.bottom};
    if (!ClientToScreen(window, &topLeft) || !ClientToScreen(window, &bottomRight)) return false;
    dest = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    if (displayConfig().borderless) {
        const Rect frame = letterboxedRect(Rect{dest.left, dest.top, dest.right, dest.bottom},
                                           displayConfig().requestedWidth, displayConfig().requestedHeight);
        dest = RECT{frame.left, frame.top, frame.right, frame.bottom};
    }
    return true;
}

bool blt(IDirectDrawSurface* to, const RECT* toRect, IDirectDrawSurface* from, const RECT* fromRect) {
    RECT toCopy = toRect != nullptr ? *toRect : RECT{};
    RECT fromCopy = fromRect != nullptr ? *fromRect : RECT{};
    return SUCCEEDED(to->Blt(toRect != nullptr ? &toCopy : nullptr, from, fromRect != nullptr ? &fromCopy : nullptr,
                             DDBLT_WAIT, nullptr));
}

// Half view: the viewport of the back buffer blown up to the whole back
// buffer, through the stretch buffer where the hardware needs one.
void stretchViewport(const DisplayObjects& d, const DisplayConfig& config) {
    const RECT viewport = toRECT(config.viewport);
    if (d.stretchBuffer != nullptr) {
        blt(d.stretchBuffer, nullptr, d.backBuffer, &viewport);
        blt(d.backBuffer, nullptr, d.stretchBuffer, nullptr);
    } else {
        blt(d.backBuffer, nullptr, d.backBuffer, &viewport);
    }
}

void setUpPlane(Plane& plane, const GameHooks::PlaneLayout& layout, const TileList& tiles) {
    // A plane that cannot be made or whose list is missing stays empty: the
    // game goes on without that layer of scenery.
    if (!plane.create(layout.width, layout.height, layout.divisor)) return;
    plane.readList(layout.list, layout.width, layout.height);
    plane.attachTiles(tiles);
}

void pauseDrawing() {
    if (g_hooks != nullptr && g_hooks->pauseDrawing != nullptr) g_hooks->pauseDrawing();
}

void placeViewport(DisplayConfig& config) {
    if (config.halfView && config.fullScreen) {
        config.screenWidth = config.requestedWidth / 2;
        config.screenHeight = config.requestedHeight / 2;
        config.viewport = Rect{config.requestedWidth - config.screenWidth, config.requestedHeight - config.screenHeight,
                               config.requestedWidth, config.requestedHeight};
        return;
    }
    const int32_t left = (config.requestedWidth - config.screenWidth) / 2;
    const int32_t top = (config.requestedHeight - config.screenHeight) / 2;
    config.viewport = Rect{left, top, left + config.screenWidth, top + config.screenHeight};
}

void loadSplash() {
    const char* artFile = g_hooks != nullptr ? g_hooks->artFile : nullptr;
    if (artFile != nullptr && ArtArchiveOpen(artFile, kArtHandles)) {
        g_splash = gfxLoadBitmap("init.bmp");
        gfxShowSplash();
    }
    ArtArchiveClose();
}

}  // namespace

void gfxSetGameHooks(const GameHooks* hooks) { g_hooks = hooks; }
const GameHooks* gfxGameHooks() { return g_hooks; }
Plane& frontPlane() { return g_front; }
Plane& middlePlane() { return g_middle; }
Plane& backPlane() { return g_back; }

bool gfxBegin() {
    gfxSetFatalEndHook(endGraphicsOnFatal);
    if (!gfxOpenDisplay()) return false;
    if (!gfxCreateSurfaces()) {
        gfxReleaseSurfaces(true);
        return false;
    }
    gfxSetBlitTarget(&backBufferTarget());
    gfxShowSplash();
    return true;
}

bool gfxEnd() {
    gfxFreeBitmapList(releaseBitmapSurface);
    g_splash = nullptr;
    // The sprites' frames and the planes' cells pointed at those bitmaps.
    g_gameSetUp = false;
    gfxSetBlitTarget(nullptr);
    gfxReleaseSurfaces(false);
    return true;
}

int CreateBuffer(int32_t& handle) {
    handle = gfxBegin() ? 1 : 0;
    if (handle == 0) gfxFatal("gfxBegin failed");
    return 1;
}

int DestroyBuffer(int32_t) {
    if (!gfxEnd()) gfxFatal("gfxEnd in DestroyBuffer");
    return 1;
}

const GfxBitmap* gfxSplash() { return g_splash; }

bool gfxShowSplash() {
    IDirectDrawSurface* front = displayObjects().frontBuffer;
    if (g_splash == nullptr || g_splash->surface == nullptr || front == nullptr) return false;
    IDirectDrawSurface* surface = toSurface(g_splash->surface);
    const DibInfo& picture = g_splash->picture;
    const DisplayConfig& config = displayConfig();

    // Redrawn from the picture every time, so a lost surface shows no stale
    // memory.  The picture's own colour table follows its header.
    HDC dc = nullptr;
    if (FAILED(surface->GetDC(&dc))) return false;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, scaledWidth(picture.width, config.screenWidth),
                  scaledHeight(picture.height, config.screenHeight), 0, 0, picture.width, picture.height,
                  picture.pixels, reinterpret_cast<const BITMAPINFO*>(picture.header), DIB_RGB_COLORS, SRCCOPY);
    surface->ReleaseDC(dc);

    RECT dest{};
    if (!splashDestination(dest)) return false;
    return blt(front, &dest, surface, nullptr);
}

// In a window at the frame's own size, the back buffer goes to the window
// with one GDI copy.  A Blt to the primary surface makes Wine copy the frame
// into a front buffer of its own first and then to the window, which cost
// the game thread as much again as composing the frame.  Scaled (F11) and on
// a palette screen the Blt stays: GDI's stretch would move a sixth of the
// scaled pixels by one, and its palette handling is not the one tested.
bool presentThroughWindow(const DisplayObjects& d, const DisplayConfig& config) {
    const Rect& on = config.presentRect;
    if (config.bitsPerPixel == 8 || d.window == nullptr || on.width() != config.screenWidth ||
        on.height() != config.screenHeight)
        return false;
    POINT origin{on.left, on.top};
    if (!ScreenToClient(d.window, &origin)) return false;
    HDC from = nullptr;
    if (FAILED(d.backBuffer->GetDC(&from))) return false;
    bool shown = false;
    if (HDC to = GetDC(d.window)) {
        shown = BitBlt(to, origin.x, origin.y, on.width(), on.height(), from, 0, 0, SRCCOPY) != FALSE;
        ReleaseDC(d.window, to);
    }
    d.backBuffer->ReleaseDC(from);
    return shown;
}

bool gfxPresent() {
    const DisplayConfig& config = displayConfig();
    const DisplayObjects& d = displayObjects();
    if (d.frontBuffer == nullptr || d.backBuffer == nullptr) return false;
    if (!config.fullScreen) {
        if (presentThroughWindow(d, config)) return true;
        const RECT dest = toRECT(config.presentRect);
        return blt(d.frontBuffer, &dest, d.backBuffer, nullptr);
    }
    if (config.halfView) stretchViewport(d, config);
    if (config.bufferCount > 1) {
        const HRESULT result = d.frontBuffer->Flip(nullptr, DDFLIP_WAIT);
        if (FAILED(result)) {
            gfxTrace("Flip FAILED, rc=%08lx", static_cast<unsigned long>(static_cast<uint32_t>(result)));
            return false;
        }
    }
    return true;
}

bool gfxRestoreAll() {
    DisplayObjects& d = displayObjects();
    for (GfxBitmap* bitmap = gfxBitmapList(); bitmap != nullptr; bitmap = bitmap->next) {
        if (bitmap->surface == nullptr) continue;
        if (!d.restorePending && !gfxSurfaceIsLost(toSurface(bitmap->surface))) continue;
        if (!gfxRestore(bitmap)) {
            gfxTrace("gfxRestoreAll: ************ Restore FAILED!");
            return false;
        }
    }
    gfxClearScreen();
    d.restorePending = false;
    return true;
}

bool RestoreDisplay() {
    const DisplayObjects& d = displayObjects();
    if (d.frontBuffer == nullptr || FAILED(d.frontBuffer->Restore())) return false;
    // In full-screen the back buffer belongs to the front buffer's chain.
    if (!displayConfig().fullScreen && (d.backBuffer == nullptr || FAILED(d.backBuffer->Restore()))) return false;
    if (d.stretchBuffer != nullptr && FAILED(d.stretchBuffer->Restore())) return false;
    if (g_hooks != nullptr && g_hooks->restoreHud != nullptr && !g_hooks->restoreHud()) return false;
    return gfxRestoreAll();
}

bool InitGraphics() {
    ReleaseGraphics();
    writeWaitMessage();
    DisplayConfig& config = displayConfig();
    config.screenWidth = config.requestedWidth;
    config.screenHeight = config.requestedHeight;
    CreateBuffer(g_gfxHandle);
    placeViewport(config);

    DisplayObjects& d = displayObjects();
    if (config.bitsPerPixel == 8) {
        d.palette = gfxLoadPalette(nullptr);
        if (d.palette == nullptr) return false;
        // Without the palette attached the colours are the system's until the
        // shell attaches it again on the next activation.
        const HRESULT attached = d.frontBuffer->SetPalette(d.palette);
        if (FAILED(attached)) gfxTrace("SetPalette failed err=%d", static_cast<int>(attached));
    }
    loadSplash();
    if (g_hooks != nullptr && g_hooks->createHud != nullptr) g_hooks->createHud();
    return true;
}

void ReleaseGraphics() {
    if (g_hooks != nullptr && g_hooks->releaseHud != nullptr) g_hooks->releaseHud();
    DisplayObjects& d = displayObjects();
    if (d.palette != nullptr) d.palette->Release();
    d.palette = nullptr;
    TeardownGame();
}

bool SetupGame() {
    writeWaitMessage();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (g_hooks == nullptr || g_hooks->loadBitmapSet == nullptr || !g_hooks->loadBitmapSet()) return false;

    if (g_tileList != nullptr) DestroyTiles(g_tileList);
    const std::span<const GfxBitmap* const> set =
        g_hooks->bitmapSet != nullptr ? g_hooks->bitmapSet() : std::span<const GfxBitmap* const>{};
    g_tileList = CreateTiles(set, kTileSlots);
    setUpPlane(g_front, g_hooks->front, *g_tileList);
    setUpPlane(g_middle, g_hooks->middle, *g_tileList);
    setUpPlane(g_back, g_hooks->back, *g_tileList);
    if (g_hooks->createSprites != nullptr) g_hooks->createSprites();
    g_gameSetUp = true;
    return true;
}

void TeardownGame() {
    if (g_gfxHandle == 0) return;
    if (g_tileList != nullptr) DestroyTiles(g_tileList);
    g_front.destroy();
    g_middle.destroy();
    g_back.destroy();
    DestroyBuffer(g_gfxHandle);
    g_tileList = nullptr;
    g_gfxHandle = 0;
    g_gameSetUp = false;
}

bool gfxGameIsSetUp() { return g_gameSetUp; }

bool RenderFrame() {
    const DisplayObjects& d = displayObjects();
    // Without surfaces there is nothing to restore or draw on: wait, paused,
    // for the shell's next start-up.
    if (d.frontBuffer == nullptr || d.backBuffer == nullptr) {
        pauseDrawing();
        return true;
    }
    if (gfxSurfaceIsLost(d.frontBuffer) || gfxSurfaceIsLost(d.backBuffer)) {
        if (!RestoreDisplay()) {
            pauseDrawing();
            return true;
        }
    }
    const bool playing = g_hooks != nullptr && g_hooks->isPlaying != nullptr && g_hooks->isPlaying();
    if (playing && g_gameSetUp && g_hooks->sceneStep != nullptr) g_hooks->sceneStep();
    return true;
}

}  // namespace engine
