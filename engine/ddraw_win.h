// The DirectDraw side of the display: the device list, the DirectDraw
// objects, the front and back buffers and the clipper, and the small
// surface services the rest of the engine and the HUD build on.
//
// The decisions that need no DirectDraw (capability probing, the mode
// fallback chain, the windowed layout, the colour key) live in
// display_config.h; this file asks the device and acts on the answers.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <span>

#include "engine/bitmap.h"
#include "engine/blit.h"
#include "engine/display_config.h"

namespace engine {

// The DirectDraw objects of the one display.  The shell sets `window`
// before InitGraphics; the rest belongs to the engine.  The shell uses
// directDraw for the cooperative level before its exit box and for
// RestoreDisplayMode at destruction, frontBuffer and palette to attach the
// palette on activation, backBuffer to copy its HUD panels.
struct DisplayObjects {
    HWND window = nullptr;
    IDirectDraw* directDraw = nullptr;    // kept by gfxEnd, reused by the next gfxBegin
    IDirectDraw2* directDraw2 = nullptr;  // the same object as IDirectDraw2
    IDirectDrawSurface* frontBuffer = nullptr;
    IDirectDrawSurface* backBuffer = nullptr;     // where every frame is composed
    IDirectDrawSurface* stretchBuffer = nullptr;  // full-screen half view on bank-switched hardware
    IDirectDrawClipper* clipper = nullptr;        // windowed only
    IDirectDrawPalette* palette = nullptr;        // 8-bit displays only
    // Set when a bitmap's refill was put off (another window in front on an
    // 8-bit display): the next gfxRestoreAll refills every bitmap.
    bool restorePending = false;
};
DisplayObjects& displayObjects();

// ---- device list ----------------------------------------------------------

inline constexpr int kMaxDevices = 15;

struct DeviceRecord {
    GUID* id = nullptr;  // nullptr: primary driver; DDCREATE_EMULATIONONLY: the emulation layer
    GUID guid{};         // what `id` points at when the driver has a GUID
    char description[128]{};
    char driverName[128]{};
};

// Who reports the drivers: DirectDrawEnumerateA, or a test's stand-in.
using DeviceEnumerator = HRESULT(WINAPI*)(LPDDENUMCALLBACKA callback, LPVOID context);

// Builds the device list: every driver reported (at most 15 in all), then
// the emulation-only entry if there is still room.  Returns 1.
int gfxEnumDevices(DeviceEnumerator enumerate = DirectDrawEnumerateA);
std::span<const DeviceRecord> gfxDevices();

// ---- display --------------------------------------------------------------

// Creates (or reuses) the DirectDraw objects for the first device, sets the
// cooperative level, sets the mode (full-screen) or lays the window out
// around a client area of the requested size (windowed), and probes the
// device's capabilities.
bool gfxOpenDisplay();
// Front buffer, back buffer(s), stretch buffer and clipper; the colour key.
bool gfxCreateSurfaces();
// Releases the clipper and the surfaces, and the DirectDraw objects too
// when asked.  Returns 1.
int gfxReleaseSurfaces(bool releaseDirectDraw);

// presentRect from the window: its client area on the screen (windowed) or
// the whole screen.  The window procedure calls it on every move and size.
void gfxUpdatePresentRect();

// An off-screen plain surface; with `sourceKeyed` it carries the white
// source colour key (unless the destination key is in use).  nullptr on
// failure.
IDirectDrawSurface* gfxCreateOffscreen(int32_t width, int32_t height, bool systemMemory, bool sourceKeyed);

// The pixel value `surface` stores for `color`; 0xFFFFFFFF when the surface
// cannot be locked.
uint32_t gfxColorMatch(IDirectDrawSurface* surface, COLORREF color);

// Paints the visible screen black.
bool gfxClearScreen();

// ---- blits ----------------------------------------------------------------

// The engine's blit target: BltFast and colour fills on the back buffer.
// gfxBegin installs it, gfxEnd removes it.
IBlitTarget& backBufferTarget();

inline SurfaceHandle toHandle(IDirectDrawSurface* surface) { return reinterpret_cast<SurfaceHandle>(surface); }
inline IDirectDrawSurface* toSurface(SurfaceHandle handle) { return reinterpret_cast<IDirectDrawSurface*>(handle); }

// ---- surface loss ---------------------------------------------------------

// Asks a surface whether its memory was lost (IsLost).  Tests install a
// stand-in to simulate a loss, which cannot be provoked in a window.
using SurfaceLossProbe = HRESULT (*)(IDirectDrawSurface* surface);
SurfaceLossProbe gfxSetSurfaceLossProbe(SurfaceLossProbe probe);  // nullptr: IsLost; returns the previous
bool gfxSurfaceIsLost(IDirectDrawSurface* surface);                // false for none

}  // namespace engine
