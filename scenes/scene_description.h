// Everything by which the four games differ, as data: one description per
// game, one code path for all of them.
#pragma once

#include <cstdint>
#include <span>

namespace scenes {

// 16.16 fixed point: 65,536 units are one pixel.
constexpr int32_t fixed(double pixels) { return static_cast<int32_t>(pixels * 65536.0); }

inline constexpr int kTilePictureFirst = 51;   // "051.BMP" ...
inline constexpr int kTilePictureLast = 170;   // ... "170.BMP", slot = number - 1
inline constexpr int kFirstSpriteSlot = 170;   // sprite pictures follow the tiles

enum class PlaneId { Front, Middle, Back };

struct PlaneLayout {
    const char* list;  // RCDATA resource of the program
    uint16_t width, height, divisor;
};

enum SpriteAction : int32_t { kDrift = 0, kIdle = 1, kVoiced = 2 };

struct FrameLayout {
    int32_t slot;    // bitmap-set slot of the picture
    int32_t action;
    int16_t width, height;
};

struct SpriteLayout {
    const char* name;          // for the reader; not used by the game
    uint16_t capacity;
    int32_t x, y;              // pixels; x gets 0-199 added when randomX
    bool randomX;
    uint16_t boxWidth, boxHeight;
    int32_t direction;         // 1 main sprite, 2 extra sprites
    int32_t action;            // the action it starts with
    std::span<const FrameLayout> frames;
    int32_t switchType;        // 0 by distance in x, 2 by time
    uint32_t interval;         // ms, time-driven animation
    int32_t thresholdPixels;   // distance-driven animation; 0 keeps the creation threshold
    int32_t speed;             // 16.16 per step, set before each advance
    bool moves;                // advanced in x and y every step
    bool scrollsWithBackPlane; // displayed with the back plane's x as offset
};

// Plane speeds (16.16, before the divisor) and the main sprite's height for
// one band state.
struct BandMotion {
    int32_t middleSpeed;
    int32_t backSpeed;
    bool setsFront;
    int32_t frontSpeed;
    bool movesMainY;
    int32_t mainY;  // 16.16
};

struct SceneDescription {
    const char* artFile;       // "abelha.ff"
    const char* artError;      // shown when it cannot be opened
    const char* resultFile;    // "abelha.dat"
    const char* resultError;   // shown when it cannot be created
    uint16_t bitmapSlots;
    PlaneLayout front, middle, back;
    PlaneId drawOrder[3];
    std::span<const char* const> spritePictures;  // loaded into slots 170, 171, ...
    SpriteLayout mainSprite;
    std::span<const SpriteLayout> extras;           // creation and moving order
    std::span<const int> displayOrder;            // indices into extras; the main sprite comes last
    BandMotion inBand, outOfBand;
    int16_t wrapX, wrapY;                         // sprite wrap, pixels
};

// The bee game.
const SceneDescription& beeScene();

}  // namespace scenes
