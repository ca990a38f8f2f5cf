// What a game program tells the engine about itself: its art file, its three
// planes, and the scene and HUD operations the engine runs at start-up, at
// the start of play, on every frame and after a surface loss.
//
// The program fills one GameHooks (static storage) and hands it over with
// gfxSetGameHooks before InitGraphics.  A hook left null is skipped: a
// program without a HUD leaves the three HUD hooks empty, and RestoreDisplay
// then does not ask for HUD surfaces.
#pragma once

#include <cstdint>
#include <span>

#include "engine/bitmap.h"
#include "engine/plane.h"

namespace engine {

struct GameHooks {
    const char* artFile = nullptr;  // "abelha.ff", in the current directory

    // A plane: its list resource ("FORELIST"...), its size in tiles and its
    // parallax divisor.
    struct PlaneLayout {
        const char* list = nullptr;
        uint16_t width = 0;
        uint16_t height = 0;
        uint16_t divisor = 1;
    };
    PlaneLayout front, middle, back;

    // Scene.
    bool (*loadBitmapSet)() = nullptr;  // false: the game cannot start (the hook told the user)
    // The game's bitmap slots; CreateTiles takes the first 170 (a shorter
    // set leaves the missing tiles empty).
    std::span<const GfxBitmap* const> (*bitmapSet)() = nullptr;
    void (*createSprites)() = nullptr;
    void (*sceneStep)() = nullptr;    // one frame: move, draw planes and sprites, HUD, gfxPresent
    bool (*isPlaying)() = nullptr;    // gameState == gsPlaying
    void (*pauseDrawing)() = nullptr; // the shell's paused = true

    // HUD surfaces, owned by the shell.
    bool (*createHud)() = nullptr;    // fonts, brushes, both surfaces; false when a surface is missing
    void (*releaseHud)() = nullptr;   // releases both surfaces
    bool (*restoreHud)() = nullptr;   // false: a HUD surface is missing or cannot be restored
};

// Installs the program's hooks (nullptr: none); the engine keeps the pointer.
void gfxSetGameHooks(const GameHooks* hooks);
const GameHooks* gfxGameHooks();

// The scene's three planes, made by SetupGame and destroyed by TeardownGame.
Plane& frontPlane();
Plane& middlePlane();
Plane& backPlane();

}  // namespace engine
