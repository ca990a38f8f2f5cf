// The scene and the band part of the voice step, drawn into a recorder.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/blit.h"
#include "engine/plane.h"
#include "scenes/scene.h"
#include "scene_test_support.h"

namespace {

using scenes::fixed;

using scenetest::Blit;
using scenetest::Events;
using scenetest::RecordingTarget;

engine::SurfaceHandle fakeSurface(intptr_t n) { return reinterpret_cast<engine::SurfaceHandle>(n); }

// A bee scene over fake bitmaps: slot i draws from surface i+1.
class BeeSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        voice::resetSmoothing();
        bitmaps_.resize(200);
        for (size_t i = 0; i < bitmaps_.size(); ++i) {
            bitmaps_[i].surface = fakeSurface(static_cast<intptr_t>(i) + 1);
            bitmaps_[i].transparent = true;
            set_.push_back(&bitmaps_[i]);
        }
        front_.create(30, 15, 1);
        middle_.create(26, 20, 3);
        back_.create(20, 16, 10);
        scene_.createMainSprite(set_, 0);
        scene_.createExtraSprites(set_, 0, [] { return 0; });
        session_.begin();
        engine::gfxSetBlitTarget(&target_);
    }
    void TearDown() override { engine::gfxSetBlitTarget(nullptr); }

    // One buffer at a steady level: the median of three then equals it.
    void level(float db, uint32_t now) { scene_.onLevel(db, planes_, session_, settings_, now, events_); }
    void steady(float db, uint32_t& now, int buffers) {
        for (int i = 0; i < buffers; ++i, now += 62) level(db, now);
    }
    int32_t mainY() { return scene_.mainSprite().data()->y; }

    std::vector<engine::GfxBitmap> bitmaps_;
    std::vector<const engine::GfxBitmap*> set_;
    engine::Plane front_, middle_, back_;
    scenes::ScenePlanes planes_{front_, middle_, back_};
    scenes::Scene scene_{scenes::beeScene()};
    phonation::CaptureSession session_;
    voice::IntensitySettings settings_;
    Events events_;
    RecordingTarget target_;
};

TEST_F(BeeSceneTest, StartsIdleAtItsPlaces) {
    const auto* bee = scene_.mainSprite().data();
    EXPECT_EQ(bee->action, scenes::kIdle);
    EXPECT_EQ(bee->x, fixed(30));
    EXPECT_EQ(bee->y, fixed(350));
    ASSERT_EQ(scene_.extraCount(), 2u);
    EXPECT_EQ(scene_.extra(0).data()->y, fixed(440));
    EXPECT_EQ(scene_.extra(1).data()->y, fixed(10));
}

TEST_F(BeeSceneTest, EnteringAndLeavingTheBandMovesBeeAndScenery) {
    uint32_t now = 1000;
    steady(50.0f, now, 3);
    EXPECT_EQ(scene_.mainSprite().getAction(), scenes::kVoiced);
    EXPECT_EQ(mainY(), fixed(220)) << "the bee rises in the same buffer";
    EXPECT_EQ(middle_.data()->speedX, fixed(30));
    EXPECT_EQ(back_.data()->speedX, fixed(40));
    EXPECT_EQ(session_.runningMs(1100), 100u) << "timed from the first buffer in the band";
    EXPECT_FLOAT_EQ(settings_.currentDb, 50.0f);

    // One buffer out of the band (after the median has seen two) turns it back.
    level(5.0f, now);
    now += 62;
    EXPECT_EQ(scene_.mainSprite().getAction(), scenes::kVoiced) << "a single low buffer is smoothed away";
    level(5.0f, now);
    EXPECT_EQ(scene_.mainSprite().getAction(), scenes::kIdle);
    EXPECT_EQ(mainY(), fixed(350));
    EXPECT_EQ(middle_.data()->speedX, fixed(10));
    EXPECT_EQ(back_.data()->speedX, 0);
    EXPECT_FALSE(session_.running());
    EXPECT_EQ(events_.stops, 0) << "a short phonation is dropped";
}

TEST_F(BeeSceneTest, StayingInTheBandDoesNotRestartTheTimer) {
    uint32_t now = 500;
    steady(60.0f, now, 40);
    EXPECT_EQ(session_.runningMs(now), now - 500u);
}

TEST_F(BeeSceneTest, PhonationTimerThroughTheVoiceStep) {
    const struct {
        uint32_t lengthMs;
        bool taken;
    } cases[] = {{2000, false}, {2001, true}, {4000, true}};
    for (const auto& c : cases) {
        SetUp();
        events_ = {};
        for (int i = 0; i < 3; ++i) level(60.0f, 10000);  // the median window holds three loud buffers
        EXPECT_EQ(session_.runningMs(10000), 0u);
        EXPECT_TRUE(session_.running());
        level(0.0f, 10000 + c.lengthMs - 62);  // median(60, 60, 0): still in the band
        level(0.0f, 10000 + c.lengthMs);       // median(60, 0, 0): out
        EXPECT_EQ(scene_.mainSprite().getAction(), scenes::kIdle);
        EXPECT_EQ(events_.stops, c.taken ? 1 : 0) << c.lengthMs;
        EXPECT_EQ(session_.resultPending(), c.taken) << c.lengthMs;
    }
}

TEST_F(BeeSceneTest, ResetToIdleKeepsTheHeightUntilTheNextChange) {
    uint32_t now = 0;
    steady(60.0f, now, 3);
    // A menu command stops the capture and sets the bee idle where it is;
    // the voice is out of the band when the capture comes back.
    scene_.setMainIdle();
    session_.begin();
    voice::resetSmoothing();
    steady(5.0f, now, 4);
    EXPECT_EQ(mainY(), fixed(220)) << "stays at its last height";
    EXPECT_FALSE(session_.running());
    steady(60.0f, now, 4);
    EXPECT_EQ(scene_.mainSprite().getAction(), scenes::kVoiced);
    steady(5.0f, now, 4);
    EXPECT_EQ(mainY(), fixed(350)) << "the next change of band state moves it";
}

TEST_F(BeeSceneTest, StepMovesSceneryAndDrawsInTheGamesOrder) {
    uint32_t now = 0;
    steady(60.0f, now, 3);
    const int32_t flyX = scene_.extra(0).data()->x;
    const int32_t planeX = scene_.extra(1).data()->x;
    target_.blits.clear();
    scene_.step(planes_, true, now);
    EXPECT_EQ(back_.data()->x, fixed(4)) << "40 / divisor 10";
    EXPECT_EQ(middle_.data()->x, fixed(10)) << "30 / divisor 3";
    EXPECT_EQ(back_.data()->speedX, 0) << "a plane advance consumes its speed";
    EXPECT_EQ(scene_.extra(0).data()->x, flyX - fixed(4));
    EXPECT_EQ(scene_.extra(1).data()->x, planeX + fixed(4));
    // Planes are empty here, so only sprites draw: fly, aeroplane, then the bee last.
    ASSERT_GE(target_.blits.size(), 2u);
    EXPECT_EQ(target_.blits.back().surface, fakeSurface(173)) << "the bee (slot 172, first voiced frame) last";

    // Not playing: nothing moves, the picture is still drawn.
    const int32_t backX = back_.data()->x;
    target_.blits.clear();
    scene_.step(planes_, false, now);
    EXPECT_EQ(back_.data()->x, backX);
    EXPECT_FALSE(target_.blits.empty());
}

TEST_F(BeeSceneTest, MissingPicturesLeaveGapsNotCrashes) {
    std::vector<const engine::GfxBitmap*> sparse(set_.begin(), set_.end());
    sparse[171] = nullptr;  // ab1 missing
    sparse.resize(176);     // the aeroplane's pictures beyond the set
    scenes::Scene scene(scenes::beeScene());
    scene.createMainSprite(sparse, 0);
    scene.createExtraSprites(sparse, 0, [] { return 199; });
    EXPECT_EQ(scene.extra(0).data()->x, fixed(699));
    target_.blits.clear();
    scene.step(planes_, true, 0);
    scene.step(planes_, true, 300);
    for (const Blit& b : target_.blits) EXPECT_NE(b.surface, nullptr);
}

}  // namespace
