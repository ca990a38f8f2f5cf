// The sprite object of the game scenes: a frame table, a 16.16 position and
// speed on the logical 640x480 screen, a horizontal and vertical wrap, and
// an animation that advances by distance travelled or by time.
//
// Time is passed in (milliseconds of the system tick count) so that the
// scene step reads the clock once per frame and tests need no clock.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/blit.h"

namespace scenes {

enum SwitchType : int32_t {
    kSwitchByDistanceX = 0,
    kSwitchByDistanceY = 1,
    kSwitchByTime = 2,
};

// Operations on positions, speeds and thresholds take a mode.
enum SpriteMode : int32_t { kSet = 0, kAdd = 1, kAdvance = 2 };

struct SpriteData {
    std::unique_ptr<engine::SpriteFrame[]> frames;  // an entry with no bitmap is free
    uint16_t capacity = 0;
    int32_t action = 0;     // 0 drift, 1 idle, 2 voiced
    int32_t direction = 0;  // 1 main sprites, 2 extra sprites
    uint16_t frame = 0;     // current entry of the table
    int32_t active = 0;
    int32_t x = 0;          // 16.16, top-left corner of the frame
    int32_t y = 0;
    uint16_t boxWidth = 0;
    uint16_t boxHeight = 0;
    int32_t speedX = 0;     // 16.16 per advance; kept until changed
    int32_t speedY = 0;
    int16_t wrapX = 0;      // pixels
    int16_t wrapY = 0;
    int32_t switchThreshold = 0;  // 16.16 distance per animation step
    int32_t switchCounter = 0;
    int32_t switchType = kSwitchByDistanceX;
    uint32_t switchTick = 0;      // ms of the last time-driven step
    uint32_t switchInterval = 0;  // ms
};

class Sprite {
public:
    // A record with a zero-filled table of `capacity` frames.  A sprite whose
    // record cannot be made stays without one and is inactive everywhere.
    bool create(uint16_t capacity, int32_t x, int32_t y, uint16_t boxWidth, uint16_t boxHeight, int16_t wrapX,
                int16_t wrapY, int16_t threshold, int32_t active);

    // The frame table for BitBltSprite; nullptr without a record.
    engine::SpriteFrameTable* frameTable();

    // Selects the run of (action, direction); direction 0 keeps the current
    // one.  The animation restarts at the run's first entry (entry 0 when
    // no registered frame has that pair).
    bool setAction(int32_t action, int32_t direction);
    int32_t getAction() const;
    // Inactive also stops the sprite.
    bool setActive(int32_t active);

    bool setSpeedX(int32_t value, int32_t mode);
    bool setSpeedY(int32_t value, int32_t mode);
    // Moves, then wraps by the frame's right (bottom) edge: leaving the
    // strip of wrapX pixels on one side re-enters it on the other.
    bool moveX(int32_t value, int32_t mode);
    bool moveY(int32_t value, int32_t mode);

    bool setSwitchType(int32_t type);
    bool setSwitchThreshold(int32_t value, int32_t mode);
    bool setSwitchTime(uint32_t interval, uint32_t now);
    // Next entry of the current run, or back to its first.
    bool nextFrame();

    // Draws the current frame at its position minus the offset, clipped to
    // the screen, plus the wrapped copy of a part cut off on the left or
    // top; then advances the animation when due.  False when inactive.
    bool display(int32_t offsetX, int32_t offsetY, uint32_t now);

    const SpriteData* data() const { return data_.get(); }
    bool isActive() const { return data_ && data_->active != 0; }

    int32_t baseSlot = 0;  // bitmap-set slot of the first frame picture

private:
    const engine::SpriteFrame* currentFrame() const;
    int32_t firstOfRun() const;
    bool matches(uint16_t entry) const;

    std::unique_ptr<SpriteData> data_;
    engine::SpriteFrameTable table_;
};

// Registers a frame of `sprite` (see engine::BitBltSprite).
bool BitBltSprite(Sprite& sprite, const engine::GfxBitmap* bitmap, int32_t action, int32_t direction, int16_t srcX,
                  int16_t srcY, int16_t width, int16_t height);

}  // namespace scenes
