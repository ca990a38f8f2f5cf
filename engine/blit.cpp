#include "engine/blit.h"

#include "engine/trace.h"

namespace engine {
namespace {

IBlitTarget* g_blitTarget = nullptr;

// One axis of the logical-to-display scaling.
struct Span1 {
    int32_t start;
    int32_t length;
    int32_t source;
};

Span1 scaleAxis(int32_t low, int32_t high, int32_t origin, int32_t screen, int32_t logical, int32_t shift) {
    if (screen == logical) return {low, high - low, origin};
    const auto scale = [&](int32_t v) { return static_cast<int32_t>(static_cast<int64_t>(screen) * v / logical); };
    return {scale(low) + shift, scale(high) - scale(low), scale(origin)};
}

uint32_t keyFlag(const GfxBitmap& bitmap, bool useDestColorKey) {
    if (useDestColorKey) return kBltFastDestColorKey;
    return bitmap.transparent ? kBltFastSrcColorKey : kBltFastNoColorKey;
}

}  // namespace

void gfxSetBlitTarget(IBlitTarget* target) { g_blitTarget = target; }
IBlitTarget* gfxBlitTarget() { return g_blitTarget; }

bool gfxDrawBitmap(const Rect& dest, const GfxBitmap* bitmap, int32_t sourceX, int32_t sourceY) {
    if (bitmap == nullptr || g_blitTarget == nullptr) return true;
    const DisplayConfig& config = displayConfig();
    const Span1 v = scaleAxis(dest.top, dest.bottom, sourceY, config.screenHeight, 480, config.viewport.top);
    const Span1 h = scaleAxis(dest.left, dest.right, sourceX, config.screenWidth, 640, config.viewport.left);
    if (h.length <= 0 || v.length <= 0) return true;

    if (bitmap->surface == nullptr) {
        g_blitTarget->colorFill(Rect{h.start, v.start, h.start + h.length, v.start + v.length}, bitmap->fillValue);
        return true;
    }
    const Rect source{h.source, v.source, h.source + h.length, v.source + v.length};
    const int32_t result = g_blitTarget->bltFast(h.start, v.start, bitmap->surface, source,
                                                 kBltFastWait | keyFlag(*bitmap, config.useDestColorKey));
    if (result != 0) gfxTrace("BltFast failed err=%d", result);
    return true;
}

bool BitBltSprite(SpriteFrameTable* table, const GfxBitmap* bitmap, int32_t action, int32_t direction,
                  int16_t srcX, int16_t srcY, int16_t width, int16_t height) {
    if (table == nullptr || bitmap == nullptr) return false;
    if (table->frames == nullptr && table->capacity > 0) return false;
    if (srcX >= table->boxWidth || srcY >= table->boxHeight) return false;
    for (uint16_t i = 0; i < table->capacity; ++i) {
        SpriteFrame& frame = table->frames[i];
        if (frame.bitmap != nullptr) continue;
        frame = SpriteFrame{bitmap, action, direction, srcX, srcY, width, height};
        return true;
    }
    gfxFatal("Bitmap overflow in BitBltSprite");
}

}  // namespace engine
