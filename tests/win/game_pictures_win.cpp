#include "game_pictures_win.h"

#include <algorithm>

#include "engine/art_archive.h"
#include "engine/dib.h"

namespace gametest {
namespace {

// The share of the picture's visible pixels that the screen shows at
// (left, top) of the client area.
double shownShare(const uidriver::ScreenGrab& screen, const RECT& client, const Picture& p, int left, int top) {
    int visible = 0, shown = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const COLORREF c = p.at(x, y);
            if (c == RGB(255, 255, 255)) continue;
            ++visible;
            shown += screen.at(client.left + left + x, client.top + top + y) == c;
        }
    return visible == 0 ? 0.0 : static_cast<double>(shown) / visible;
}

// The best share among the main sprite's pictures of one action.
double mainSpriteShare(const scenes::SceneDescription& scene, const Pictures& pictures,
                       const uidriver::ScreenGrab& screen, const RECT& client, int32_t action, int y) {
    double best = 0;
    for (const auto& frame : scene.mainSprite.frames) {
        const auto it = pictures.find(std::string(frame.picture));
        if (frame.action == action && it != pictures.end())
            best = std::max(best, shownShare(screen, client, it->second, scene.mainSprite.x, y));
    }
    return best;
}

}  // namespace

Pictures readPictures(const std::string& artFile, const std::vector<std::string>& names) {
    Pictures pictures;
    if (!engine::ArtArchiveOpen(artFile.c_str(), 5)) return pictures;
    for (const std::string& name : names) {
        auto* handle = engine::ArtEntryOpen(name.c_str());
        if (!handle) continue;
        const auto* data = static_cast<const uint8_t*>(engine::ArtEntryData(handle, 0, 0));
        engine::DibInfo info;
        if (data && engine::checkDib({data, handle->size}, info) == engine::DibCheck::ok && info.bitCount == 8) {
            Picture& p = pictures[name];
            p.width = info.width;
            p.height = info.height;
            for (int y = 0; y < info.height; ++y)
                for (int x = 0; x < info.width; ++x) {
                    const uint8_t index = info.pixels[static_cast<size_t>(info.height - 1 - y) * info.rowStride + x];
                    const uint8_t* c = info.colorTable + 4 * index;
                    p.pixels.push_back(RGB(c[2], c[1], c[0]));
                }
        }
        engine::ArtEntryClose(handle);
    }
    engine::ArtArchiveDataReleased();
    engine::ArtArchiveClose();
    return pictures;
}

Pictures readSpritePictures(const std::string& artFile, const scenes::SceneDescription& scene) {
    std::vector<std::string> names;
    for (std::string_view name : scene.spritePictures) names.emplace_back(name);
    return readPictures(artFile, names);
}

bool showsMainSprite(const scenes::SceneDescription& scene, const Pictures& pictures, const uidriver::ScreenGrab& screen,
                     const RECT& client, int32_t action, int y) {
    const int32_t other = action == scenes::kIdle ? scenes::kVoiced : scenes::kIdle;
    const double share = mainSpriteShare(scene, pictures, screen, client, action, y);
    return share > 0.95 && share > mainSpriteShare(scene, pictures, screen, client, other, y);
}

int mainSpriteY(const scenes::SceneDescription& scene, int32_t action) {
    const scenes::BandMotion& motion = action == scenes::kVoiced ? scene.inBand : scene.outOfBand;
    return motion.mainY.value_or(scenes::fixed(scene.mainSprite.y)) / 65536;
}

}  // namespace gametest
