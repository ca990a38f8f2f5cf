// A game scene: three planes and the sprites of one scene description,
// the per-frame step and the band part of the per-buffer voice step.
// Drawing goes through the engine's blit primitive, so the scene runs the
// same on the host (tests) and in the programs.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/bitmap.h"
#include "engine/plane.h"
#include "scenes/scene_description.h"
#include "scenes/sprite.h"
#include "phonation/capture_session.h"
#include "voice/intensity.h"

namespace scenes {

struct ScenePlanes {
    engine::Plane& front;
    engine::Plane& middle;
    engine::Plane& back;
    engine::Plane& operator[](PlaneId id) const;
};

using BitmapSet = std::span<const engine::GfxBitmap* const>;

class Scene {
public:
    explicit Scene(const SceneDescription& description) : description_(description) {}

    const SceneDescription& description() const { return description_; }

    // CreateMainSprite / CreateExtraSprites: the sprites and their frames
    // from the bitmap set.  `random200` gives 0-199 for the start positions.
    void createMainSprite(BitmapSet set, uint32_t now);
    void createExtraSprites(BitmapSet set, uint32_t now, int (*random200)());
    bool hasSprites() const { return created_; }

    // One frame without the HUD: the motion (only while playing), then the
    // planes and the sprites drawn in the game's order.
    void step(const ScenePlanes& planes, bool playing, uint32_t now);

    // The band part of the voice step for one measured buffer level:
    // smoothing, the band test, plane speeds, the main sprite's action and
    // height, and the phonation timer of the recording the level came from
    // (`now` is on that recording's clock).
    void onLevel(float level, const ScenePlanes& planes, phonation::CaptureSession& session,
                 voice::IntensitySettings& settings, uint32_t now, phonation::IPhonationEvents& events);

    // The menu commands and "Reiniciar Tempo": idle, without moving.
    void setMainIdle();

    Sprite& mainSprite() { return main_; }
    Sprite& extra(size_t i) { return extras_[i]; }
    size_t extraCount() const { return extras_.size(); }

private:
    void createSprite(Sprite& sprite, const SpriteLayout& layout, int32_t x, int32_t direction, BitmapSet set);
    void applyMotion(const BandMotion& motion, const ScenePlanes& planes);

    const SceneDescription& description_;
    Sprite main_;
    std::vector<Sprite> extras_;
    bool created_ = false;
};

}  // namespace scenes
