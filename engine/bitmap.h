// Engine bitmaps: one record per loaded picture, kept in one engine-wide
// list (newest first) until gfxEnd frees them all.
//
// A record holds either a surface of the DirectDraw layer, filled from its
// picture in the art archive, or just a fill value for a picture of one
// colour.  The surface is an opaque handle here: the DirectDraw layer puts
// its surface pointer in and takes it out again (reinterpret_cast), and no
// portable code ever looks inside.
#pragma once

#include <cstdint>
#include <span>

#include "engine/dib.h"

namespace engine {

struct GfxSurface;  // defined by nobody: only pointers to it exist
using SurfaceHandle = GfxSurface*;

struct GfxBitmap {
    GfxBitmap* next = nullptr;        // the bitmap list
    uint32_t fillValue = 0;           // solid bitmap: the pixel value it is filled with
    bool transparent = false;         // has white pixels: blits honour the colour key
    SurfaceHandle surface = nullptr;  // none for a solid bitmap
    const uint8_t* dib = nullptr;     // BITMAPINFOHEADER in the art data; none for a solid bitmap
    DibInfo picture;                  // the checked picture behind dib (size, colour table, rows)
};

// A zero-filled record that is not yet in the list; nullptr when memory is
// short.  Either link it or discard it.
GfxBitmap* gfxAllocBitmap();
void gfxLinkBitmap(GfxBitmap* bitmap);     // at the head of the list
void gfxDiscardBitmap(GfxBitmap* bitmap);  // an unlinked record whose creation failed

// Head of the list (nullptr when empty), for the refill walk.
GfxBitmap* gfxBitmapList();

// What gfxEnd does to the list: every surface is handed to `release` (when
// given), every record is freed, the list is empty.  No pointer into the
// art data is then left, so the archive may let go of earlier mappings.
using SurfaceRelease = void (*)(SurfaceHandle surface);
void gfxFreeBitmapList(SurfaceRelease release);

// What gfxLoadBitmap will make of a picture, decided without a surface.
struct PicturePlan {
    enum class Kind { none, solid, surface };
    Kind kind = Kind::none;
    uint32_t color = 0;        // solid: its colour as a COLORREF
    bool transparent = false;  // surface: has white pixels
    DibInfo picture;           // surface: the checked picture
};

// The decisions on an entry's bytes: a picture that fails the checks gives
// none (traced "Failed to load" and the name, or the mask complaint); an
// 8-bit picture of one colour is solid unless the destination colour key is
// in use; otherwise a surface, transparent when an 8-bit picture has white.
PicturePlan planPicture(std::span<const uint8_t> entry, const char* name, bool useDestColorKey);

// The same for the named entry of the open art archive: opens the entry,
// takes its data (which then stays valid for the bitmap's life), closes it.
PicturePlan gfxPlanPicture(const char* name, bool useDestColorKey);

}  // namespace engine
