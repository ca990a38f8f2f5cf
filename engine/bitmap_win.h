// Engine bitmaps on DirectDraw surfaces, and the 8-bit palette.
//
// A picture of the art archive becomes an off-screen surface at the display
// scale, filled from its DIB (and refilled from it after a surface loss),
// or, when all its pixels are one colour, a plain fill value.  The records
// live in the engine's bitmap list until gfxEnd.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include "engine/bitmap.h"

namespace engine {

// An 8-bit palette from a RIFF palette file, or the 3-3-2 palette when
// `path` is null or the file is unusable.  nullptr when DirectDraw refuses.
IDirectDrawPalette* gfxLoadPalette(const char* path);

// The named picture of the open art archive; nullptr when it is missing or
// unreadable.
GfxBitmap* gfxLoadBitmap(const char* name);

// A bitmap drawn as a colour fill of `color`'s pixel value.
GfxBitmap* gfxCreateSolidBitmap(COLORREF color);

// A surface-backed bitmap filled from a checked picture whose bytes stay
// valid for the bitmap's life (the art archive's data).
GfxBitmap* gfxCreateBitmapSurface(const DibInfo& picture, bool transparent);

// Restores the surface memory and refills it from the picture.  False when
// the surface cannot be restored, or when the refill has to wait because
// another window is in front of an 8-bit windowed display (restorePending
// is then set and drawing paused).
bool gfxRestore(GfxBitmap* bitmap);

// Frees a bitmap that is not in the bitmap list (one whose creation the
// caller abandoned).  Bitmaps in the list are freed together by gfxEnd, so
// that no list entry is left dangling: for those this returns false and
// changes nothing.
bool gfxFreeBitmap(GfxBitmap* bitmap);

}  // namespace engine
