#include "engine/bitmap.h"

#include <new>

#include "engine/art_archive.h"
#include "engine/trace.h"

namespace engine {
namespace {

GfxBitmap* g_bitmapList = nullptr;

}  // namespace

GfxBitmap* gfxAllocBitmap() { return new (std::nothrow) GfxBitmap{}; }

void gfxLinkBitmap(GfxBitmap* bitmap) {
    if (bitmap == nullptr) return;
    bitmap->next = g_bitmapList;
    g_bitmapList = bitmap;
}

void gfxDiscardBitmap(GfxBitmap* bitmap) { delete bitmap; }

GfxBitmap* gfxBitmapList() { return g_bitmapList; }

void gfxFreeBitmapList(SurfaceRelease release) {
    GfxBitmap* bitmap = g_bitmapList;
    g_bitmapList = nullptr;
    while (bitmap != nullptr) {
        GfxBitmap* next = bitmap->next;
        if (bitmap->surface != nullptr && release != nullptr) release(bitmap->surface);
        delete bitmap;
        bitmap = next;
    }
    ArtArchiveDataReleased();
}

PicturePlan planPicture(std::span<const uint8_t> entry, const char* name, bool useDestColorKey) {
    PicturePlan plan;
    DibInfo picture;
    switch (checkDib(entry, picture)) {
        case DibCheck::ok:
            break;
        case DibCheck::mask:
            gfxTrace("some code is still using masks, stop that!");
            return plan;
        case DibCheck::notBitmap:
        case DibCheck::damaged:
            gfxTrace("Failed to load");
            gfxTrace("%s", name != nullptr ? name : "");
            return plan;
    }
    if (!useDestColorKey && isUniform8(picture, plan.color)) {
        plan.kind = PicturePlan::Kind::solid;
        return plan;
    }
    plan.kind = PicturePlan::Kind::surface;
    plan.transparent = hasWhitePixel(picture);
    plan.picture = picture;
    return plan;
}

PicturePlan gfxPlanPicture(const char* name, bool useDestColorKey) {
    ArtEntryHandle* entry = ArtEntryOpen(name);
    if (entry == nullptr) return {};
    const uint8_t* data = ArtEntryData(entry, 0, 0);
    PicturePlan plan;
    if (data != nullptr) plan = planPicture({data, entry->size}, name, useDestColorKey);
    ArtEntryClose(entry);
    return plan;
}

}  // namespace engine
