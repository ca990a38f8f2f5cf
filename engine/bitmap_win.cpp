#include "engine/bitmap_win.h"

#include <algorithm>
#include <cstring>

#include "engine/ddraw_win.h"
#include "engine/dib.h"
#include "engine/display_config.h"
#include "engine/game_hooks.h"
#include "engine/trace.h"

namespace engine {
namespace {

static_assert(sizeof(PaletteEntry) == sizeof(PALETTEENTRY));

// BITMAPINFO with room for a full colour table.
struct BitmapInfo256 {
    BITMAPINFOHEADER header;
    uint32_t colors[256];
};
static_assert(sizeof(BITMAPINFOHEADER) == kInfoHeaderSize);

bool isListed(const GfxBitmap* bitmap) {
    for (const GfxBitmap* b = gfxBitmapList(); b != nullptr; b = b->next)
        if (b == bitmap) return true;
    return false;
}

// On an 8-bit window the palette belongs to whichever application is in
// front; pictures converted now would take that palette's colours.
bool mustWaitForForeground(const DisplayConfig& config) {
    if (config.fullScreen || config.bitsPerPixel != 8) return false;
    return GetForegroundWindow() != displayObjects().window;
}

void putOffRefill() {
    gfxTrace("gfxRestore: **** foreground window changed while loading art!");
    displayObjects().restorePending = true;
    const GameHooks* hooks = gfxGameHooks();
    if (hooks != nullptr && hooks->pauseDrawing != nullptr) hooks->pauseDrawing();
}

// Full screen at 8 bits: the pixels are written through the 3-3-2 index
// of their (fixed-up) colours, into the bitmap's own surface or, when the
// picture must be scaled, into the back buffer first and stretched from
// there.
bool fillIndexed(GfxBitmap& bitmap, const uint32_t (&colors)[256], int32_t width, int32_t height) {
    const DibInfo& picture = bitmap.picture;
    uint8_t indexOf[256];
    for (int i = 0; i < 256; ++i)
        indexOf[i] = index332(static_cast<uint8_t>(colors[i] >> 16), static_cast<uint8_t>(colors[i] >> 8),
                              static_cast<uint8_t>(colors[i]));

    IDirectDrawSurface* own = toSurface(bitmap.surface);
    const bool scaled = width != picture.width || height != picture.height;
    IDirectDrawSurface* target = scaled ? displayObjects().backBuffer : own;
    if (target == nullptr) return false;
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof desc;
    const HRESULT locked = target->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    if (FAILED(locked)) {
        gfxTrace("Lock failed err=%d", static_cast<int>(locked));
        return false;
    }
    const int32_t rows = std::min<int32_t>(picture.height, static_cast<int32_t>(desc.dwHeight));
    const int32_t columns = std::min<int32_t>(picture.width, static_cast<int32_t>(desc.dwWidth));
    auto* out = static_cast<uint8_t*>(desc.lpSurface);
    for (int32_t y = 0; out != nullptr && y < rows; ++y) {
        const uint8_t* in = picture.pixels + static_cast<size_t>(picture.height - 1 - y) * picture.rowStride;
        uint8_t* line = out + static_cast<ptrdiff_t>(y) * desc.lPitch;
        for (int32_t x = 0; x < columns; ++x) line[x] = indexOf[in[x]];
    }
    target->Unlock(nullptr);
    if (!scaled) return true;

    HDC from = nullptr;
    HDC to = nullptr;
    if (SUCCEEDED(target->GetDC(&from))) {
        if (SUCCEEDED(own->GetDC(&to))) {
            SetStretchBltMode(to, COLORONCOLOR);
            StretchBlt(to, 0, 0, width, height, from, 0, 0, picture.width, picture.height, SRCCOPY);
            own->ReleaseDC(to);
        }
        target->ReleaseDC(from);
    }
    return true;
}

// Everywhere else GDI converts the picture to the surface's format.
void fillThroughGdi(GfxBitmap& bitmap, const BitmapInfo256& info, int32_t width, int32_t height) {
    IDirectDrawSurface* surface = toSurface(bitmap.surface);
    HDC dc = nullptr;
    if (FAILED(surface->GetDC(&dc))) return;
    const DibInfo& picture = bitmap.picture;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, width, height, 0, 0, picture.width, picture.height, picture.pixels,
                  reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
    surface->ReleaseDC(dc);
}

void releaseSurface(SurfaceHandle surface) {
    if (surface != nullptr) toSurface(surface)->Release();
}

}  // namespace

IDirectDrawPalette* gfxLoadPalette(const char* path) {
    IDirectDraw* directDraw = displayObjects().directDraw;
    if (directDraw == nullptr) return nullptr;
    PaletteEntry entries[256];
    gfxBuildPalette(path, entries);
    PALETTEENTRY system[256];
    for (int i = 0; i < 256; ++i) system[i] = PALETTEENTRY{entries[i].red, entries[i].green, entries[i].blue, entries[i].flags};
    IDirectDrawPalette* palette = nullptr;
    if (FAILED(directDraw->CreatePalette(DDPCAPS_8BIT, system, &palette, nullptr))) return nullptr;
    return palette;
}

GfxBitmap* gfxLoadBitmap(const char* name) {
    const PicturePlan plan = gfxPlanPicture(name, displayConfig().useDestColorKey);
    switch (plan.kind) {
        case PicturePlan::Kind::solid:
            return gfxCreateSolidBitmap(static_cast<COLORREF>(plan.color));
        case PicturePlan::Kind::surface:
            return gfxCreateBitmapSurface(plan.picture, plan.transparent);
        case PicturePlan::Kind::none:
            break;
    }
    return nullptr;
}

GfxBitmap* gfxCreateSolidBitmap(COLORREF color) {
    GfxBitmap* bitmap = gfxAllocBitmap();
    if (bitmap == nullptr) return nullptr;
    bitmap->fillValue = gfxColorMatch(displayObjects().backBuffer, color);
    gfxLinkBitmap(bitmap);
    return bitmap;
}

GfxBitmap* gfxCreateBitmapSurface(const DibInfo& picture, bool transparent) {
    if (picture.header == nullptr || picture.pixels == nullptr) return nullptr;
    GfxBitmap* bitmap = gfxAllocBitmap();
    if (bitmap == nullptr) return nullptr;
    const DisplayConfig& config = displayConfig();
    IDirectDrawSurface* surface = gfxCreateOffscreen(scaledWidth(picture.width, config.screenWidth),
                                                     scaledHeight(picture.height, config.screenHeight), false, true);
    if (surface == nullptr) {
        gfxDiscardBitmap(bitmap);
        return nullptr;
    }
    bitmap->surface = toHandle(surface);
    bitmap->dib = picture.header;
    bitmap->picture = picture;
    bitmap->transparent = transparent;
    gfxLinkBitmap(bitmap);
    // A fill put off now is made by the next gfxRestoreAll.
    gfxRestore(bitmap);
    return bitmap;
}

bool gfxRestore(GfxBitmap* bitmap) {
    if (bitmap == nullptr) return false;
    if (bitmap->surface == nullptr) return true;
    if (FAILED(toSurface(bitmap->surface)->Restore())) return false;
    if (bitmap->dib == nullptr || bitmap->picture.pixels == nullptr) return true;
    const DisplayConfig& config = displayConfig();
    if (mustWaitForForeground(config)) {
        putOffRefill();
        return false;
    }

    const DibInfo& picture = bitmap->picture;
    BitmapInfo256 info{};
    std::memcpy(&info.header, picture.header, kInfoHeaderSize);
    surfaceColorTable(picture, info.colors);
    const int32_t width = scaledWidth(picture.width, config.screenWidth);
    const int32_t height = scaledHeight(picture.height, config.screenHeight);
    if (config.fullScreen && config.bitsPerPixel == 8 && picture.bitCount == 8)
        return fillIndexed(*bitmap, info.colors, width, height);
    fillThroughGdi(*bitmap, info, width, height);
    return true;
}

bool gfxFreeBitmap(GfxBitmap* bitmap) {
    if (bitmap == nullptr || isListed(bitmap)) return false;
    releaseSurface(bitmap->surface);
    bitmap->surface = nullptr;
    gfxDiscardBitmap(bitmap);
    return true;
}

}  // namespace engine
