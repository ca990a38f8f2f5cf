#include "scenes/bitmap_set_win.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "engine/art_archive.h"
#include "engine/bitmap_win.h"
#include "winui/user_message_win.h"

namespace scenes {
namespace {
constexpr int kArtHandles = 5;
}

bool LoadBitmapSet(const SceneDescription& scene, std::vector<const engine::GfxBitmap*>& set) {
    if (!engine::ArtArchiveOpen(scene.artFile, kArtHandles)) {
        ui::showMessage(nullptr, scene.artError, "Tempo Expiratório", MB_OK);
        PostQuitMessage(0);
        return false;
    }
    set.assign(scene.bitmapSlots, nullptr);
    for (int n = kTilePictureFirst; n <= kTilePictureLast; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%03u.BMP", static_cast<unsigned>(n));
        if (static_cast<size_t>(n - 1) < set.size()) set[static_cast<size_t>(n - 1)] = engine::gfxLoadBitmap(name);
    }
    size_t slot = kFirstSpriteSlot;
    for (std::string_view name : scene.spritePictures) {
        if (slot < set.size()) set[slot] = engine::gfxLoadBitmap(std::string(name).c_str());
        ++slot;
    }
    engine::ArtArchiveClose();
    return true;
}

}  // namespace scenes
