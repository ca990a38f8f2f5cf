// The one drawing primitive of the engine, and the registration of sprite
// frames.
//
// Everything shown in a frame reaches the back buffer through gfxDrawBitmap
// in logical 640x480 coordinates; it scales to the display, picks the colour
// key and hands one BltFast or one colour fill to the blit target that the
// DirectDraw layer installs (its back buffer).  Tests install a recorder.
#pragma once

#include <cstdint>

#include "engine/bitmap.h"
#include "engine/display_config.h"

namespace engine {

// BltFast flags, equal to DirectDraw's DDBLTFAST_*.
inline constexpr uint32_t kBltFastNoColorKey = 0x00;
inline constexpr uint32_t kBltFastSrcColorKey = 0x01;
inline constexpr uint32_t kBltFastDestColorKey = 0x02;
inline constexpr uint32_t kBltFastWait = 0x10;

class IBlitTarget {
public:
    // Copies `sourceRect` of `source` to (x, y); the DirectDraw result
    // (0 = success).
    virtual int32_t bltFast(int32_t x, int32_t y, SurfaceHandle source, const Rect& sourceRect, uint32_t flags) = 0;
    // Fills `rect` with a pixel value (DDBLT_COLORFILL | DDBLT_WAIT).
    virtual void colorFill(const Rect& rect, uint32_t value) = 0;

protected:
    ~IBlitTarget() = default;
};

// The back buffer's blit target; nullptr (the start) draws nothing.
void gfxSetBlitTarget(IBlitTarget* target);
IBlitTarget* gfxBlitTarget();

// Draws the part of `bitmap` at logical `sourceX`, `sourceY` into the
// logical rectangle `dest`.  Scaled by screenWidth/640 and
// screenHeight/480 and shifted by the viewport unless the screen is
// 640x480; nothing is drawn when the scaled rectangle is empty.  A failed
// blit is traced and skipped.  The caller keeps `dest` on the screen.
bool gfxDrawBitmap(const Rect& dest, const GfxBitmap* bitmap, int32_t sourceX, int32_t sourceY);

// One entry of a sprite's frame table; no bitmap marks a free entry.
struct SpriteFrame {
    const GfxBitmap* bitmap = nullptr;
    int32_t action = 0;
    int32_t direction = 0;
    int16_t srcX = 0;  // top-left corner of the frame inside the picture
    int16_t srcY = 0;
    int16_t width = 0;
    int16_t height = 0;
};

// The part of a sprite that frame registration needs.
struct SpriteFrameTable {
    SpriteFrame* frames = nullptr;
    uint16_t capacity = 0;
    uint16_t boxWidth = 0;   // a frame's source origin must lie inside the box
    uint16_t boxHeight = 0;
};

// Registers one frame in the first free entry.  False for no table, no
// bitmap or an origin outside the box; a full table is a programming error
// and ends the program ("Bitmap overflow in BitBltSprite").
bool BitBltSprite(SpriteFrameTable* table, const GfxBitmap* bitmap, int32_t action, int32_t direction,
                  int16_t srcX, int16_t srcY, int16_t width, int16_t height);

}  // namespace engine
