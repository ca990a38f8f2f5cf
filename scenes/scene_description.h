// Everything by which the four games differ, as data: one description per
// game, one code path for all of them.
//
// Descriptions are written with designated initializers, so every value is
// named where it is set, and each game's file checks its description when
// it is compiled (static_assert(sceneIsConsistent(...))): a frame whose
// picture is not loaded, more frames than a sprite holds, a sprite left out
// of the display order or a picture beyond the bitmap slots do not build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace scenes {

// 16.16 fixed point: 65,536 units are one pixel.
constexpr int32_t fixed(double pixels) { return static_cast<int32_t>(pixels * 65536.0); }

inline constexpr int kTilePictureFirst = 51;   // "051.BMP" ...
inline constexpr int kTilePictureLast = 170;   // ... "170.BMP", slot = number - 1
inline constexpr int kFirstSpriteSlot = 170;   // sprite pictures follow the tiles

enum class PlaneId { Front, Middle, Back };

struct PlaneLayout {
    const char* list = "";  // RCDATA resource of the program
    uint16_t width = 0, height = 0, divisor = 1;
};

enum SpriteAction : int32_t { kDrift = 0, kIdle = 1, kVoiced = 2 };

// One frame: a whole picture, drawn from its top-left corner.
struct FrameLayout {
    std::string_view picture;  // as in the picture list, "ab0.BMP"
    int32_t action = kDrift;
    int16_t width = 0, height = 0;
};

enum class Animation {
    EveryMovingStep,  // the creation threshold: a new frame on every step that moves
    ByDistance,       // a new frame every thresholdPixels travelled in x
    ByTime,           // a new frame when more than intervalMs have passed
};

struct SpriteLayout {
    std::string_view name;  // for the reader; not used by the game
    uint16_t capacity = 0;  // frame table entries
    int32_t x = 0, y = 0;   // pixels
    bool randomX = false;   // x gets 0-199 added when the scene is built
    uint16_t boxWidth = 0, boxHeight = 0;
    std::span<const FrameLayout> frames;
    Animation animation = Animation::EveryMovingStep;
    uint32_t intervalMs = 0;      // Animation::ByTime
    int32_t thresholdPixels = 0;  // Animation::ByDistance
    int32_t speed = 0;            // 16.16 per step, set before each advance
    bool moves = true;            // advanced in x and y every step
    bool scrollsWithBackPlane = false;  // displayed with the back plane's x as offset
};

// What one band state does: plane speeds (16.16, before the divisor) and
// the main sprite's height.  An empty value leaves that one as it is.
struct BandMotion {
    int32_t middleSpeed = 0;
    int32_t backSpeed = 0;
    std::optional<int32_t> frontSpeed;
    std::optional<int32_t> mainY;  // 16.16
};

struct SceneDescription {
    const char* artFile = "";      // "abelha.ff"
    const char* artError = "";     // shown when it cannot be opened
    const char* resultFile = "";   // "abelha.dat"
    const char* resultError = "";  // shown when it cannot be created
    uint16_t bitmapSlots = 0;
    PlaneLayout front, middle, back;
    PlaneId drawOrder[3] = {PlaneId::Back, PlaneId::Front, PlaneId::Middle};
    std::span<const std::string_view> spritePictures;  // loaded into slots 170, 171, ...
    SpriteLayout mainSprite;
    std::span<const SpriteLayout> extras;  // creation and moving order
    std::span<const int> displayOrder;     // indices into extras; the main sprite comes last
    BandMotion inBand, outOfBand;
    int16_t wrapX = 960, wrapY = 480;      // sprite wrap, pixels
};

// The bitmap slot a picture is loaded into; -1 when it is not in the list.
constexpr int slotOf(const SceneDescription& scene, std::string_view picture) {
    for (size_t i = 0; i < scene.spritePictures.size(); ++i)
        if (scene.spritePictures[i] == picture) return kFirstSpriteSlot + static_cast<int>(i);
    return -1;
}

// --- the compile-time check ---------------------------------------------------------

// Each fault calls one of these.  They are not constexpr, so in a
// static_assert the compiler stops at the call and names the fault.
namespace fault {
inline bool aSpriteHasMoreFramesThanItsCapacity() { return false; }
inline bool aFramePictureIsNotInThePictureList() { return false; }
inline bool thePicturesNeedMoreBitmapSlots() { return false; }
inline bool theDisplayOrderIsNotAPermutationOfTheExtras() { return false; }
inline bool theDrawOrderIsNotAPermutationOfThePlanes() { return false; }
inline bool anAnimationLacksItsIntervalOrThreshold() { return false; }
inline bool theMainSpriteIsNotTimeDriven() { return false; }
inline bool aStillSpriteHasASpeed() { return false; }
}  // namespace fault

namespace detail {

constexpr bool spriteIsConsistent(const SceneDescription& scene, const SpriteLayout& sprite) {
    if (sprite.frames.size() > sprite.capacity) return fault::aSpriteHasMoreFramesThanItsCapacity();
    for (const FrameLayout& frame : sprite.frames)
        if (slotOf(scene, frame.picture) < 0) return fault::aFramePictureIsNotInThePictureList();
    const bool timed = sprite.animation == Animation::ByTime, byDistance = sprite.animation == Animation::ByDistance;
    if (timed != (sprite.intervalMs > 0) || byDistance != (sprite.thresholdPixels > 0))
        return fault::anAnimationLacksItsIntervalOrThreshold();
    if (!sprite.moves && sprite.speed != 0) return fault::aStillSpriteHasASpeed();
    return true;
}

template <typename T>
constexpr bool isPermutation(std::span<const T> values, size_t count, int (*index)(T)) {
    if (values.size() != count) return false;
    for (size_t i = 0; i < values.size(); ++i) {
        const int v = index(values[i]);
        if (v < 0 || static_cast<size_t>(v) >= count) return false;
        for (size_t j = 0; j < i; ++j)
            if (index(values[j]) == v) return false;
    }
    return true;
}

}  // namespace detail

constexpr bool sceneIsConsistent(const SceneDescription& scene) {
    if (scene.bitmapSlots < kFirstSpriteSlot + scene.spritePictures.size())
        return fault::thePicturesNeedMoreBitmapSlots();
    if (!detail::isPermutation<int>(scene.displayOrder, scene.extras.size(), [](int i) { return i; }))
        return fault::theDisplayOrderIsNotAPermutationOfTheExtras();
    if (!detail::isPermutation<PlaneId>(scene.drawOrder, 3, [](PlaneId id) { return static_cast<int>(id); }))
        return fault::theDrawOrderIsNotAPermutationOfThePlanes();
    if (scene.mainSprite.animation != Animation::ByTime) return fault::theMainSpriteIsNotTimeDriven();
    if (!detail::spriteIsConsistent(scene, scene.mainSprite)) return false;
    for (const SpriteLayout& sprite : scene.extras)
        if (!detail::spriteIsConsistent(scene, sprite)) return false;
    return true;
}

// The four games.
const SceneDescription& beeScene();
const SceneDescription& carScene();
const SceneDescription& boatScene();
const SceneDescription& girlScene();

}  // namespace scenes
