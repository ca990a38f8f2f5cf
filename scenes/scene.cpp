#include "scenes/scene.h"

namespace scenes {
namespace {

constexpr int16_t kCreationThreshold = 6;  // 6/65536 px: a moving sprite animates every step
constexpr int32_t kMainDirection = 1, kExtraDirection = 2;

const engine::GfxBitmap* pictureAt(BitmapSet set, int32_t slot) {
    return slot >= 0 && static_cast<size_t>(slot) < set.size() ? set[static_cast<size_t>(slot)] : nullptr;
}

}  // namespace

engine::Plane& ScenePlanes::operator[](PlaneId id) const {
    switch (id) {
    case PlaneId::Front: return front;
    case PlaneId::Middle: return middle;
    case PlaneId::Back: break;
    }
    return back;
}

void Scene::createSprite(Sprite& sprite, const SpriteLayout& layout, int32_t x, int32_t direction, BitmapSet set) {
    sprite.create(layout.capacity, fixed(x), fixed(layout.y), layout.boxWidth, layout.boxHeight, description_.wrapX,
                  description_.wrapY, kCreationThreshold, 1);
    sprite.baseSlot = layout.frames.empty() ? 0 : slotOf(description_, layout.frames.front().picture);
    // A picture that could not be loaded is refused here and simply
    // missing from the animation.
    for (const FrameLayout& frame : layout.frames)
        BitBltSprite(sprite, pictureAt(set, slotOf(description_, frame.picture)), frame.action, direction, 0, 0,
                     frame.width, frame.height);
}

void Scene::createMainSprite(BitmapSet set, uint32_t now) {
    const SpriteLayout& layout = description_.mainSprite;
    main_ = Sprite{};
    createSprite(main_, layout, layout.x, kMainDirection, set);
    main_.setAction(kIdle, kMainDirection);
    main_.setSwitchType(kSwitchByTime);
    main_.setSwitchTime(layout.intervalMs, now);
    main_.setActive(1);
    created_ = true;
}

void Scene::createExtraSprites(BitmapSet set, uint32_t now, int (*random200)()) {
    extras_.clear();
    extras_.resize(description_.extras.size());
    for (size_t i = 0; i < extras_.size(); ++i) {
        const SpriteLayout& layout = description_.extras[i];
        Sprite& sprite = extras_[i];
        createSprite(sprite, layout, layout.x + (layout.randomX ? random200() : 0), kExtraDirection, set);
        sprite.setActive(1);
        switch (layout.animation) {
        case Animation::EveryMovingStep: break;
        case Animation::ByTime:
            sprite.setSwitchType(kSwitchByTime);
            sprite.setSwitchTime(layout.intervalMs, now);
            break;
        case Animation::ByDistance:
            sprite.setSwitchType(kSwitchByDistanceX);
            sprite.setSwitchThreshold(fixed(layout.thresholdPixels), kSet);
            break;
        }
        sprite.setAction(kDrift, kExtraDirection);
    }
}

void Scene::step(const ScenePlanes& planes, bool playing, uint32_t now) {
    if (playing) {
        main_.moveX(0, kAdvance);
        main_.moveY(0, kAdvance);
        main_.setSpeedY(0, kSet);
        planes.front.setSpeedY(0, kSet);
        planes.middle.setSpeedY(0, kSet);
        planes.back.moveX(0, kAdvance);
        planes.middle.moveX(0, kAdvance);
        planes.front.moveY(0, kAdvance);
        planes.front.moveX(0, kAdvance);
        for (size_t i = 0; i < extras_.size(); ++i) {
            const SpriteLayout& layout = description_.extras[i];
            if (!layout.moves) continue;
            extras_[i].setSpeedX(layout.speed, kSet);
            extras_[i].moveX(0, kAdvance);
            extras_[i].moveY(0, kAdvance);
        }
    }
    for (PlaneId id : description_.drawOrder) planes[id].draw();
    const int32_t backX = planes.back.data() ? planes.back.data()->x : 0;
    for (int index : description_.displayOrder) {
        if (index < 0 || static_cast<size_t>(index) >= extras_.size()) continue;
        const bool scrolls = description_.extras[static_cast<size_t>(index)].scrollsWithBackPlane;
        extras_[static_cast<size_t>(index)].display(scrolls ? backX : 0, 0, now);
    }
    main_.display(0, 0, now);
}

void Scene::applyMotion(const BandMotion& motion, const ScenePlanes& planes) {
    planes.middle.setSpeedX(motion.middleSpeed, kSet);
    planes.back.setSpeedX(motion.backSpeed, kSet);
    if (motion.frontSpeed) planes.front.setSpeedX(*motion.frontSpeed, kSet);
}

void Scene::onLevel(float level, const ScenePlanes& planes, phonation::CaptureSession& session,
                    voice::IntensitySettings& settings, uint32_t now, phonation::IPhonationEvents& events) {
    const float smoothed = voice::smoothIntensity(level);
    settings.currentDb = smoothed;
    if (voice::isInBand(smoothed, settings)) {
        applyMotion(description_.inBand, planes);
        if (main_.getAction() != kVoiced) {
            session.enterBand(now);
            main_.setAction(kVoiced, kMainDirection);
            if (description_.inBand.mainY) main_.moveY(*description_.inBand.mainY, kSet);
        }
    } else {
        applyMotion(description_.outOfBand, planes);
        if (main_.getAction() != kIdle) {
            main_.setAction(kIdle, kMainDirection);
            if (description_.outOfBand.mainY) main_.moveY(*description_.outOfBand.mainY, kSet);
            session.leaveBand(now, events);
        }
    }
}

void Scene::setMainIdle() { main_.setAction(kIdle, kMainDirection); }

}  // namespace scenes
