#include "engine/ddraw_win.h"

#include <cstring>

#include "engine/blit.h"
#include "engine/trace.h"

namespace engine {
namespace {

GUID* const kEmulationOnly = reinterpret_cast<GUID*>(static_cast<uintptr_t>(DDCREATE_EMULATIONONLY));

DeviceRecord g_devices[kMaxDevices];
int g_deviceCount = 0;

SurfaceLossProbe g_lossProbe = nullptr;

template <typename T>
void releaseInto(T*& object) {
    if (object != nullptr) object->Release();
    object = nullptr;
}

int asError(HRESULT result) { return static_cast<int>(result); }
unsigned long asHex(HRESULT result) { return static_cast<unsigned long>(static_cast<uint32_t>(result)); }

void copyName(char (&out)[128], const char* text) {
    std::strncpy(out, text != nullptr ? text : "", sizeof out - 1);
    out[sizeof out - 1] = '\0';
}

// The enumeration callback, and the path of the emulation-only entry too.
BOOL WINAPI addDevice(GUID* id, LPSTR description, LPSTR driverName, LPVOID) {
    if (g_deviceCount >= kMaxDevices) return TRUE;
    gfxTrace("Device: %s (%s)", description != nullptr ? description : "", driverName != nullptr ? driverName : "");
    DeviceRecord& record = g_devices[g_deviceCount++];
    record = DeviceRecord{};
    if (id != nullptr && id != kEmulationOnly) {
        record.guid = *id;
        record.id = &record.guid;
    } else {
        record.id = id;
    }
    copyName(record.description, description);
    copyName(record.driverName, driverName);
    return TRUE;
}

// ---- opening the display ---------------------------------------------------

HRESULT WINAPI traceMode(LPDDSURFACEDESC desc, LPVOID) {
    if (desc != nullptr)
        gfxTrace("Mode: %dx%dx%d", static_cast<int>(desc->dwWidth), static_cast<int>(desc->dwHeight),
                 static_cast<int>(desc->ddpfPixelFormat.dwRGBBitCount));
    return DDENUMRET_OK;
}

class ModeSetter final : public IDisplayModeSetter {
public:
    ModeSetter(IDirectDraw* directDraw, IDirectDraw2* directDraw2) : dd_(directDraw), dd2_(directDraw2) {}
    int32_t setDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel, bool standardVga) override {
        const auto w = static_cast<DWORD>(width);
        const auto h = static_cast<DWORD>(height);
        const auto bpp = static_cast<DWORD>(bitsPerPixel);
        return standardVga ? dd2_->SetDisplayMode(w, h, bpp, 0, DDSDM_STANDARDVGAMODE) : dd_->SetDisplayMode(w, h, bpp);
    }

private:
    IDirectDraw* dd_;
    IDirectDraw2* dd2_;
};

bool createDirectDraw(IDirectDraw*& directDraw, IDirectDraw2*& directDraw2) {
    GUID* device = g_deviceCount > 0 ? g_devices[0].id : nullptr;
    HRESULT result = DirectDrawCreate(device, &directDraw, nullptr);
    if (SUCCEEDED(result)) {
        result = directDraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&directDraw2));
        if (FAILED(result)) releaseInto(directDraw);
    }
    if (FAILED(result)) {
        directDraw = nullptr;
        directDraw2 = nullptr;
        gfxTrace("DirectDrawCreate failed err=%d", asError(result));
        return false;
    }
    return true;
}

bool takeDisplay(IDirectDraw* directDraw, HWND window, bool fullScreen) {
    const DWORD level = fullScreen ? DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN : DDSCL_NORMAL | DDSCL_NOWINDOWCHANGES;
    const HRESULT result = directDraw->SetCooperativeLevel(window, level);
    if (FAILED(result)) {
        gfxTrace("SetCooperativeLevel failed err=%d", asError(result));
        return false;
    }
    if (!fullScreen) return true;
    // The mode list is only traced; some drivers refuse the standard-VGA
    // filter, so ask once more without it.
    if (SUCCEEDED(directDraw->EnumDisplayModes(DDEDM_STANDARDVGAMODES, nullptr, nullptr, traceMode))) return true;
    return SUCCEEDED(directDraw->EnumDisplayModes(0, nullptr, nullptr, traceMode));
}

struct ScreenMetrics {
    int32_t bitsPerPixel = 0;
    int32_t width = 0;
    int32_t height = 0;
};

bool readScreen(ScreenMetrics& screen) {
    HDC dc = GetDC(nullptr);
    if (dc == nullptr) return false;
    screen.bitsPerPixel = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
    screen.width = GetDeviceCaps(dc, HORZRES);
    screen.height = GetDeviceCaps(dc, VERTRES);
    ReleaseDC(nullptr, dc);
    return true;
}

// A window with a caption and a menu around a client area of the requested
// size, centred on the screen; the display keeps its own depth.
bool layOutWindow(HWND window, DisplayConfig& config) {
    ScreenMetrics screen;
    if (window == nullptr || !readScreen(screen)) return false;
    config.bitsPerPixel = screen.bitsPerPixel;

    const auto style = static_cast<DWORD>(windowedStyle(static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE))));
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
    const Rect client = windowedClientRect(config);
    RECT outer{client.left, client.top, client.right, client.bottom};
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    if (!AdjustWindowRectEx(&outer, style, GetMenu(window) != nullptr, exStyle)) return false;
    const int32_t width = outer.right - outer.left;
    const int32_t height = outer.bottom - outer.top;
    const Point origin = centredWindowOrigin(width, height, screen.width, screen.height);
    // The style change only reaches the frame with SWP_FRAMECHANGED; without
    // it a window already of this size would keep its old client area.
    if (!SetWindowPos(window, nullptr, origin.x, origin.y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED))
        return false;
    gfxUpdatePresentRect();
    return true;
}

HRESULT readCaps(IDirectDraw* directDraw, DDCAPS& caps) {
    caps = DDCAPS{};
    caps.dwSize = sizeof caps;
    return directDraw->GetCaps(&caps, nullptr);
}

// ---- surfaces --------------------------------------------------------------

DDSURFACEDESC surfaceDesc() {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    return desc;
}

bool createPrimary(DisplayObjects& d, DWORD flags, DWORD caps, DWORD backBufferCount) {
    DDSURFACEDESC desc = surfaceDesc();
    desc.dwFlags = flags;
    desc.ddsCaps.dwCaps = caps;
    desc.dwBackBufferCount = backBufferCount;
    const HRESULT result = d.directDraw->CreateSurface(&desc, &d.frontBuffer, nullptr);
    if (FAILED(result)) {
        d.frontBuffer = nullptr;
        gfxTrace("CreateSurface FAILED! %08lx", asHex(result));
        return false;
    }
    return true;
}

bool createFlippingChain(DisplayObjects& d, const DisplayConfig& config, const DDCAPS& caps) {
    writeDebugOutput("Creating multiple backbuffer primary\n\r");
    if (!createPrimary(d, DDSD_CAPS | DDSD_BACKBUFFERCOUNT, DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX,
                       static_cast<DWORD>(config.bufferCount - 1)))
        return false;
    DDSCAPS backCaps{};
    backCaps.dwCaps = DDSCAPS_BACKBUFFER;
    const HRESULT result = d.frontBuffer->GetAttachedSurface(&backCaps, &d.backBuffer);
    if (FAILED(result)) {
        d.backBuffer = nullptr;
        gfxTrace("GetAttachedSurface failed! err=%d", asError(result));
        return false;
    }
    if (config.halfView && (caps.dwCaps & DDCAPS_BANKSWITCHED)) {
        gfxTrace("On bank switched hardware, creating stretch buffer");
        d.stretchBuffer = gfxCreateOffscreen(config.screenWidth, config.screenHeight, true, false);
    }
    return true;
}

bool createSingleBuffer(DisplayObjects& d) {
    writeDebugOutput("Creating no backbuffer primary\n\r");
    if (!createPrimary(d, DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0)) return false;
    d.frontBuffer->AddRef();
    d.backBuffer = d.frontBuffer;
    return true;
}

bool createWindowedBuffers(DisplayObjects& d, const DisplayConfig& config) {
    if (!createPrimary(d, DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0)) return false;
    d.backBuffer = gfxCreateOffscreen(config.screenWidth, config.screenHeight, false, false);
    if (d.backBuffer == nullptr) {
        gfxTrace("Cant create the backbuffer");
        return false;
    }
    if (FAILED(d.directDraw->CreateClipper(0, &d.clipper, nullptr))) {
        d.clipper = nullptr;
        gfxTrace("Cant create clipper");
        return false;
    }
    if (FAILED(d.clipper->SetHWnd(0, d.window))) {
        gfxTrace("Cant set clipper window handle");
        return false;
    }
    if (FAILED(d.frontBuffer->SetClipper(d.clipper))) {
        gfxTrace("Cant attach clipper to front buffer");
        return false;
    }
    return true;
}

bool settleColorKey(DisplayObjects& d, DisplayConfig& config) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof format;
    if (FAILED(d.frontBuffer->GetPixelFormat(&format))) return false;
    config.colorKey = colorKeyFromFormat(config.bitsPerPixel, format.dwRBitMask, format.dwGBitMask, format.dwBBitMask);
    if (!config.useDestColorKey) return true;
    DDCOLORKEY key{config.colorKey, config.colorKey};
    return SUCCEEDED(d.backBuffer->SetColorKey(DDCKEY_DESTBLT, &key));
}

// ---- blits -----------------------------------------------------------------

class BackBufferTarget final : public IBlitTarget {
public:
    int32_t bltFast(int32_t x, int32_t y, SurfaceHandle source, const Rect& sourceRect, uint32_t flags) override {
        IDirectDrawSurface* back = displayObjects().backBuffer;
        if (back == nullptr || source == nullptr) return DDERR_INVALIDOBJECT;
        RECT rect{sourceRect.left, sourceRect.top, sourceRect.right, sourceRect.bottom};
        return back->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), toSurface(source), &rect, flags);
    }

    // A failed fill only leaves the previous frame's pixels there; the frame
    // goes on.
    void colorFill(const Rect& rect, uint32_t value) override {
        IDirectDrawSurface* back = displayObjects().backBuffer;
        if (back == nullptr) return;
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = value;
        RECT dest{rect.left, rect.top, rect.right, rect.bottom};
        back->Blt(&dest, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }
};

bool fillRect(IDirectDrawSurface* surface, RECT* rect, uint32_t value) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = value;
    const HRESULT result = surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    if (FAILED(result)) {
        gfxTrace("Fill failed ddrval =0x%08lX", asHex(result));
        return false;
    }
    return true;
}

}  // namespace

DisplayObjects& displayObjects() {
    static DisplayObjects objects;
    return objects;
}

int gfxEnumDevices(DeviceEnumerator enumerate) {
    g_deviceCount = 0;
    // A failed enumeration leaves the emulation layer as the only device.
    if (enumerate != nullptr) enumerate(addDevice, nullptr);
    char emulation[] = "Hardware Emulation Layer";
    char none[] = "";
    addDevice(kEmulationOnly, emulation, none, nullptr);
    return 1;
}

std::span<const DeviceRecord> gfxDevices() { return {g_devices, static_cast<size_t>(g_deviceCount)}; }

bool gfxOpenDisplay() {
    DisplayConfig& config = displayConfig();
    DisplayObjects& d = displayObjects();
    config.bufferCount = 0;

    // Objects kept from an earlier gfxBegin already have their cooperative
    // level; new ones are only stored once the display is open.
    IDirectDraw* directDraw = d.directDraw;
    IDirectDraw2* directDraw2 = d.directDraw2;
    const bool fresh = directDraw == nullptr || directDraw2 == nullptr;
    if (fresh) {
        releaseInto(d.directDraw);
        releaseInto(d.directDraw2);
        if (!createDirectDraw(directDraw, directDraw2)) return false;
    }
    const auto fail = [&] {
        if (fresh) {
            directDraw2->Release();
            directDraw->Release();
        }
        return false;
    };
    if (fresh && !takeDisplay(directDraw, d.window, config.fullScreen)) return fail();

    if (config.fullScreen) {
        ModeSetter setter(directDraw, directDraw2);
        if (!setModeWithFallback(config, setter)) return fail();
    } else if (!layOutWindow(d.window, config)) {
        return fail();
    }

    DDCAPS caps;
    const HRESULT result = readCaps(directDraw, caps);
    if (FAILED(result)) {
        gfxTrace("GetCaps failed err=%d", asError(result));
        return fail();
    }
    probeCapabilities(DeviceCaps{caps.dwCaps, caps.dwCKeyCaps, caps.dwVidMemTotal}, config);
    d.directDraw = directDraw;
    d.directDraw2 = directDraw2;
    return true;
}

bool gfxCreateSurfaces() {
    DisplayConfig& config = displayConfig();
    DisplayObjects& d = displayObjects();
    if (d.directDraw == nullptr) return false;
    DDCAPS caps;
    if (FAILED(readCaps(d.directDraw, caps))) return false;

    bool created = false;
    if (!config.fullScreen) {
        created = createWindowedBuffers(d, config);
    } else if (config.bufferCount >= 2) {
        created = createFlippingChain(d, config, caps);
    } else {
        created = createSingleBuffer(d);
    }
    return created && settleColorKey(d, config);
}

int gfxReleaseSurfaces(bool releaseDirectDraw) {
    DisplayObjects& d = displayObjects();
    releaseInto(d.clipper);
    releaseInto(d.backBuffer);
    releaseInto(d.frontBuffer);
    releaseInto(d.stretchBuffer);
    if (releaseDirectDraw) {
        releaseInto(d.directDraw);
        releaseInto(d.directDraw2);
    }
    return 1;
}

void gfxUpdatePresentRect() {
    DisplayConfig& config = displayConfig();
    if (config.fullScreen) {
        config.presentRect = Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return;
    }
    HWND window = displayObjects().window;
    RECT client{};
    if (window == nullptr || !GetClientRect(window, &client)) return;
    POINT topLeft{client.left, client.top};
    POINT bottomRight{client.right, client.bottom};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    config.presentRect = Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    if (config.borderless) config.presentRect = letterboxedRect(config.presentRect, config.requestedWidth, config.requestedHeight);
}

IDirectDrawSurface* gfxCreateOffscreen(int32_t width, int32_t height, bool systemMemory, bool sourceKeyed) {
    const DisplayConfig& config = displayConfig();
    IDirectDraw* directDraw = displayObjects().directDraw;
    // A size that is not positive would reach DirectDraw as a huge one.
    if (directDraw == nullptr || width <= 0 || height <= 0) return nullptr;
    DDSURFACEDESC desc = surfaceDesc();
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwWidth = static_cast<DWORD>(width);
    desc.dwHeight = static_cast<DWORD>(height);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (systemMemory ? DDSCAPS_SYSTEMMEMORY : 0);
    IDirectDrawSurface* surface = nullptr;
    const HRESULT result = directDraw->CreateSurface(&desc, &surface, nullptr);
    if (FAILED(result)) {
        gfxTrace("CreateSurface FAILED, rc = %ld", static_cast<long>(result & 0xFFFF));
        return nullptr;
    }
    if (sourceKeyed && !config.useDestColorKey) {
        DDCOLORKEY key{config.colorKey, config.colorKey};
        const HRESULT keyed = surface->SetColorKey(DDCKEY_SRCBLT, &key);
        // Without its key a picture would show its transparent white.
        if (FAILED(keyed)) {
            gfxTrace("SetColorKey failed err=%d", asError(keyed));
            surface->Release();
            return nullptr;
        }
    }
    return surface;
}

uint32_t gfxColorMatch(IDirectDrawSurface* surface, COLORREF color) {
    if (surface == nullptr) return 0xFFFFFFFFu;
    // Let GDI write the colour into pixel (0, 0) and read back what the
    // surface made of it: that is the pixel value in any format.
    COLORREF previous = CLR_INVALID;
    HDC dc = nullptr;
    if (SUCCEEDED(surface->GetDC(&dc))) {
        previous = GetPixel(dc, 0, 0);
        SetPixel(dc, 0, 0, color);
        surface->ReleaseDC(dc);
    }

    uint32_t value = 0xFFFFFFFFu;
    DDSURFACEDESC desc = surfaceDesc();
    if (SUCCEEDED(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) {
        // Only the pixel's own bytes: a narrow surface may end right after it.
        const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
        const size_t bytes = bits >= 32 || bits == 0 ? 4 : (bits + 7) / 8;
        value = 0;
        if (desc.lpSurface != nullptr) std::memcpy(&value, desc.lpSurface, bytes);
        if (bits > 0 && bits < 32) value &= (1u << bits) - 1;
        surface->Unlock(nullptr);
    } else {
        desc = surfaceDesc();
        const bool primary =
            SUCCEEDED(surface->GetSurfaceDesc(&desc)) && (desc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) != 0;
        gfxTrace(primary ? "Failed to lock Primary Surface!" : "Failed to lock NON-PRIMARY Surface!");
    }

    if (previous != CLR_INVALID && SUCCEEDED(surface->GetDC(&dc))) {
        SetPixel(dc, 0, 0, previous);
        surface->ReleaseDC(dc);
    }
    return value;
}

bool gfxClearScreen() {
    const DisplayConfig& config = displayConfig();
    DisplayObjects& d = displayObjects();
    if (d.window != nullptr) UpdateWindow(d.window);
    if (d.frontBuffer == nullptr || d.backBuffer == nullptr) return false;
    const uint32_t black = gfxColorMatch(d.backBuffer, RGB(0, 0, 0));
    if (!config.fullScreen) {
        RECT visible{config.presentRect.left, config.presentRect.top, config.presentRect.right,
                     config.presentRect.bottom};
        return fillRect(d.frontBuffer, &visible, black);
    }
    // Four rounds reach every buffer of a flipping chain.
    for (int round = 0; round < 4; ++round) {
        if (!fillRect(d.backBuffer, nullptr, black)) return false;
        const HRESULT result = d.frontBuffer->Flip(nullptr, DDFLIP_WAIT);
        if (FAILED(result)) {
            gfxTrace("Flip failed ddrval =0x%08lX", asHex(result));
            return false;
        }
    }
    return true;
}

IBlitTarget& backBufferTarget() {
    static BackBufferTarget target;
    return target;
}

SurfaceLossProbe gfxSetSurfaceLossProbe(SurfaceLossProbe probe) {
    const SurfaceLossProbe previous = g_lossProbe;
    g_lossProbe = probe;
    return previous;
}

bool gfxSurfaceIsLost(IDirectDrawSurface* surface) {
    if (surface == nullptr) return false;
    const HRESULT result = g_lossProbe != nullptr ? g_lossProbe(surface) : surface->IsLost();
    return result == DDERR_SURFACELOST;
}

}  // namespace engine
