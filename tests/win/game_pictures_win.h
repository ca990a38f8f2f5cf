// A game's own pictures, read from its art file the way the engine reads
// them, and whether the screen shows them: what the end-to-end tests and
// the game benchmark look for on screen.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "scenes/scene_description.h"
#include "tests/uidriver/driver_win.h"

namespace gametest {

// A picture as RGB pixels, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
using Pictures = std::map<std::string, Picture>;

// The named pictures of an art file; those it lacks are left out.
Pictures readPictures(const std::string& artFile, const std::vector<std::string>& names);

// The build tree's art file of a program ("barco" -> ...\barco.ff) and the
// sprite pictures its scene loads.
Pictures readSpritePictures(const std::string& artFile, const scenes::SceneDescription& scene);

// The screen shows one of the main sprite's pictures of `action` at height y
// (client pixels), and more of it than of the other action's pictures: the
// car's pictures differ only in their wheels and exhaust.
bool showsMainSprite(const scenes::SceneDescription& scene, const Pictures& pictures, const uidriver::ScreenGrab& screen,
                     const RECT& client, int32_t action, int y);

// Where the main sprite stands for an action: the bee flies higher.
int mainSpriteY(const scenes::SceneDescription& scene, int32_t action);

}  // namespace gametest
