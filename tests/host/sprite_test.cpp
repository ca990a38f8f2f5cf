#include <gtest/gtest.h>

#include <vector>

#include "engine_test_support.h"
#include "scenes/sprite.h"

namespace {

using engine::GfxBitmap;
using engine::Rect;
using enginetest::BlitCall;
using enginetest::RecordingTarget;
using scenes::Sprite;

constexpr int32_t kPixel = 65536;

struct Pictures {
    Pictures() {
        for (uintptr_t i = 0; i < 8; ++i) bitmaps[i].surface = enginetest::fakeSurface(i + 1);
    }
    GfxBitmap bitmaps[8];
};

// One frame of width x height, action 0, direction 2, like the extra sprites.
Sprite oneFrameSprite(const Pictures& p, int32_t x, int32_t y, int16_t width, int16_t height, int16_t wrapX) {
    Sprite s;
    EXPECT_TRUE(s.create(1, x, y, 73, 52, wrapX, 480, 6, 1));
    EXPECT_TRUE(scenes::BitBltSprite(s, &p.bitmaps[0], 0, 2, 0, 0, width, height));
    s.setAction(0, 2);
    return s;
}

TEST(Sprite, WrapsByTheFrameEdge) {
    const Pictures p;
    const struct {
        const char* what;
        int16_t wrap;
        int32_t x, value, mode;
        int32_t expected;
    } cases[] = {
        {"leaves on the left", 960, -38 * kPixel, -4 * kPixel, scenes::kAdd, 918 * kPixel},
        {"leaves on the right", 960, 918 * kPixel, 4 * kPixel, scenes::kAdd, -38 * kPixel},
        {"still partly visible", 960, -30 * kPixel, -4 * kPixel, scenes::kAdd, -34 * kPixel},
        {"advance uses the speed", 832, 800 * kPixel, 0, scenes::kAdvance, 762 * kPixel},
        {"set then wrap", 832, 0, 900 * kPixel, scenes::kSet, 68 * kPixel},
        {"unknown mode", 960, 5, 4 * kPixel, 9, 5},
    };
    for (const auto& c : cases) {
        Sprite s = oneFrameSprite(p, c.x, 0, 38, 38, c.wrap);
        s.setSpeedX(-4 * kPixel, scenes::kSet);
        s.setSpeedX(-34 * kPixel, scenes::kAdd);
        EXPECT_TRUE(s.moveX(c.value, c.mode));
        EXPECT_EQ(s.data()->x, c.expected) << c.what;
        EXPECT_EQ(s.data()->speedX, -38 * kPixel) << "an advance keeps the speed";
    }
}

TEST(Sprite, WrapsVerticallyOnceAtMost) {
    const Pictures p;
    Sprite s = oneFrameSprite(p, 0, -40 * kPixel, 38, 38, 960);
    s.moveY(0, scenes::kAdd);  // bottom -2 < 0: down one period
    EXPECT_EQ(s.data()->y, 440 * kPixel);
    s.moveY(2 * kPixel, scenes::kAdd);  // bottom 480: back up
    EXPECT_EQ(s.data()->y, 2 * kPixel - 40 * kPixel);
}

TEST(Sprite, InactiveSpritesNeitherMoveNorDraw) {
    const Pictures p;
    Sprite s = oneFrameSprite(p, 100 * kPixel, 0, 38, 38, 960);
    s.setSpeedX(4 * kPixel, scenes::kSet);
    ASSERT_TRUE(s.setActive(0));
    EXPECT_EQ(s.data()->speedX, 0);
    RecordingTarget target;
    EXPECT_FALSE(s.moveX(kPixel, scenes::kAdd));
    EXPECT_FALSE(s.setSpeedX(kPixel, scenes::kSet));
    EXPECT_FALSE(s.display(0, 0, 0));
    EXPECT_EQ(s.data()->x, 100 * kPixel);
    EXPECT_TRUE(target.calls.empty());

    Sprite none;  // never created: inactive everywhere
    EXPECT_FALSE(none.moveX(kPixel, scenes::kAdd));
    EXPECT_FALSE(none.display(0, 0, 0));
    EXPECT_FALSE(scenes::BitBltSprite(none, &p.bitmaps[0], 0, 2, 0, 0, 8, 8));
}

// The bee: ab0, ab1 idle (action 1), ab2-ab4 voiced (action 2).
Sprite bee(const Pictures& p, uint16_t capacity = 5) {
    Sprite s;
    EXPECT_TRUE(s.create(capacity, 30 * kPixel, 350 * kPixel, 55, 64, 960, 480, 6, 1));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(scenes::BitBltSprite(s, &p.bitmaps[i], i < 2 ? 1 : 2, 1, 0, 0, i < 2 ? 47 : 55, 64));
    s.setAction(1, 1);
    return s;
}

TEST(Sprite, AnimationCyclesWithinTheRun) {
    const Pictures p;
    Sprite s = bee(p, 7);  // two free entries after the voiced run
    EXPECT_EQ(s.data()->frame, 0);
    s.nextFrame();
    EXPECT_EQ(s.data()->frame, 1);
    s.nextFrame();
    EXPECT_EQ(s.data()->frame, 0) << "the next entry belongs to another action";

    s.setAction(2, 0);
    EXPECT_EQ(s.getAction(), 2);
    EXPECT_EQ(s.data()->direction, 1) << "direction 0 keeps the direction";
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        seen.push_back(s.data()->frame);
        s.nextFrame();
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 4, 2}));

    s.setAction(3, 1);  // no such frames: stays inside the table
    EXPECT_EQ(s.data()->frame, 0);
}

TEST(Sprite, TimeDrivenAnimationNeedsMoreThanTheInterval) {
    const Pictures p;
    Sprite s = bee(p);
    s.setSwitchType(scenes::kSwitchByTime);
    const struct {
        uint32_t start, now;
        uint16_t frame;
    } cases[] = {
        {1000, 1200, 0}, {1000, 1201, 1}, {1000, 1000, 0}, {0xFFFFFF00u, 0x10, 1},  // the tick count wrapped
    };
    for (const auto& c : cases) {
        s.setAction(1, 1);
        s.setSwitchTime(200, c.start);
        s.display(0, 0, c.now);
        EXPECT_EQ(s.data()->frame, c.frame) << c.now;
        if (c.frame == 1) {
            EXPECT_EQ(s.data()->switchTick, c.now);
        }
    }
}

TEST(Sprite, DistanceDrivenAnimation) {
    const Pictures p;
    Sprite dolphin;
    ASSERT_TRUE(dolphin.create(8, 500 * kPixel, 300 * kPixel, 60, 35, 960, 480, 6, 1));
    for (int i = 0; i < 8; ++i) scenes::BitBltSprite(dolphin, &p.bitmaps[i], 0, 2, 0, 0, 60, 35);
    dolphin.setAction(0, 2);
    dolphin.setSwitchType(scenes::kSwitchByDistanceX);
    dolphin.setSwitchThreshold(10 * kPixel, scenes::kSet);
    dolphin.setSpeedX(-2 * kPixel, scenes::kSet);
    std::vector<int> frames;
    for (int step = 0; step < 10; ++step) {
        dolphin.display(0, 0, 0);
        frames.push_back(dolphin.data()->frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1, 1, 2}));

    // Vertical switching counts only the vertical speed.
    dolphin.setSwitchType(scenes::kSwitchByDistanceY);
    dolphin.display(0, 0, 0);
    EXPECT_EQ(dolphin.data()->frame, 2);
    dolphin.setSpeedY(kPixel, scenes::kSet);
    dolphin.setSwitchThreshold(-9 * kPixel, scenes::kAdd);  // one pixel
    dolphin.display(0, 0, 0);
    EXPECT_EQ(dolphin.data()->frame, 3);
}

TEST(SpriteDeathTest, RegisteringPastTheCapacityIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Pictures p;
    EXPECT_EXIT(
        {
            Sprite fly = oneFrameSprite(p, 0, 0, 38, 38, 960);
            scenes::BitBltSprite(fly, &p.bitmaps[1], 0, 2, 0, 0, 38, 38);
        },
        ::testing::ExitedWithCode(0), "Bitmap overflow in BitBltSprite");
}

TEST(Sprite, DisplayClipsToTheScreen) {
    Pictures p;
    p.bitmaps[0].transparent = true;
    const struct {
        const char* what;
        int32_t x, y;
        std::vector<BlitCall> calls;
    } cases[] = {
        {"inside", 100, 200, {{false, {100, 200, 138, 238}, {0, 0, 38, 38}, 0x11}}},
        {"left edge", -10, 200, {{false, {0, 200, 28, 238}, {10, 0, 38, 38}, 0x11}}},
        {"right edge", 620, 450, {{false, {620, 450, 640, 480}, {0, 0, 20, 30}, 0x11}}},
        {"below the screen", 100, 500, {}},
        {"past the right", 700, 10, {}},
        {"top edge wraps to the bottom", 100, -5,
         {{false, {100, 0, 138, 33}, {0, 5, 38, 38}, 0x11}, {false, {100, 475, 138, 480}, {0, 0, 38, 5}, 0x11}}},
    };
    for (const auto& c : cases) {
        Sprite s = oneFrameSprite(p, c.x * kPixel, c.y * kPixel, 38, 38, 960);
        RecordingTarget target;
        EXPECT_TRUE(s.display(0, 0, 0));
        EXPECT_EQ(target.calls, c.calls) << c.what;
    }
}

TEST(Sprite, WrappedCopyFollowsTheBackPlane) {
    // The girl's cat, painted on the back scenery of 832 pixels.
    const Pictures p;
    const struct {
        int32_t planeX;
        std::vector<BlitCall> calls;
    } cases[] = {
        {0, {{false, {170, 345, 243, 392}, {0, 0, 73, 47}, 0x10}}},
        {500, {{false, {502, 345, 575, 392}, {0, 0, 73, 47}, 0x10}}},
        {300, {}},
        {200, {{false, {0, 345, 43, 392}, {30, 0, 73, 47}, 0x10}}},  // the cut part lands off the screen
    };
    for (const auto& c : cases) {
        Sprite cat;
        ASSERT_TRUE(cat.create(4, 170 * kPixel, 345 * kPixel, 73, 47, 832, 480, 6, 1));
        scenes::BitBltSprite(cat, &p.bitmaps[2], 0, 2, 0, 0, 73, 47);
        cat.setAction(0, 2);
        RecordingTarget target;
        cat.display(c.planeX * kPixel, 0, 0);
        EXPECT_EQ(target.calls, c.calls) << c.planeX;
    }
}

}  // namespace
