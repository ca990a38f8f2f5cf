#include <gtest/gtest.h>

#include <vector>

#include "engine/art_archive.h"
#include "engine/bitmap.h"
#include "engine/blit.h"
#include "engine/display_config.h"
#include "engine_test_support.h"

namespace {

using engine::GfxBitmap;
using engine::Rect;
using enginetest::BlitCall;
using enginetest::RecordingTarget;

constexpr uint32_t kWait = engine::kBltFastWait;

// Restores the display configuration the tests change.
class Draw : public ::testing::Test {
protected:
    void TearDown() override { engine::displayConfig() = engine::DisplayConfig{}; }
};

GfxBitmap surfaceBitmap(bool transparent) {
    GfxBitmap b;
    b.surface = enginetest::fakeSurface(1);
    b.transparent = transparent;
    return b;
}

TEST_F(Draw, KeyFlags) {
    const struct {
        bool transparent, destKey;
        uint32_t flags;
    } cases[] = {
        {true, false, kWait | engine::kBltFastSrcColorKey},
        {false, false, kWait | engine::kBltFastNoColorKey},
        {true, true, kWait | engine::kBltFastDestColorKey},
        {false, true, kWait | engine::kBltFastDestColorKey},
    };
    for (const auto& c : cases) {
        RecordingTarget target;
        engine::displayConfig().useDestColorKey = c.destKey;
        const GfxBitmap tile = surfaceBitmap(c.transparent);
        EXPECT_TRUE(engine::gfxDrawBitmap({0, 0, 32, 32}, &tile, 0, 0));
        ASSERT_EQ(target.calls.size(), 1u);
        EXPECT_EQ(target.calls[0], (BlitCall{false, {0, 0, 32, 32}, {0, 0, 32, 32}, c.flags}));
    }
    EXPECT_EQ(kWait | engine::kBltFastSrcColorKey, 0x11u);
}

TEST_F(Draw, ScalesToTheDisplay) {
    engine::DisplayConfig& config = engine::displayConfig();
    const GfxBitmap tile = surfaceBitmap(false);
    const struct {
        int32_t screenWidth, screenHeight;
        Rect viewport, dest;
        int32_t sourceX, sourceY;
        std::vector<BlitCall> calls;
    } cases[] = {
        {640, 480, {0, 0, 640, 480}, {100, 40, 164, 72}, 7, 3, {{false, {100, 40, 164, 72}, {7, 3, 71, 35}, kWait}}},
        // Half view: the lower right quarter of the back buffer.
        {320, 240, {320, 240, 640, 480}, {100, 0, 164, 32}, 10, 0,
         {{false, {370, 240, 402, 256}, {5, 0, 37, 16}, kWait}}},
        {320, 240, {320, 240, 640, 480}, {100, 0, 101, 32}, 0, 0, {}},  // scales to no width
        {640, 480, {0, 0, 640, 480}, {630, 0, 630, 32}, 0, 0, {}},      // a plane's empty last column
        {640, 480, {0, 0, 640, 480}, {0, 10, 32, 10}, 0, 0, {}},
    };
    for (const auto& c : cases) {
        RecordingTarget target;
        config.screenWidth = c.screenWidth;
        config.screenHeight = c.screenHeight;
        config.viewport = c.viewport;
        engine::gfxDrawBitmap(c.dest, &tile, c.sourceX, c.sourceY);
        EXPECT_EQ(target.calls, c.calls) << c.screenWidth << " " << c.dest.left;
    }
}

TEST_F(Draw, SolidBitmapsAreFills) {
    RecordingTarget target;
    GfxBitmap solid;
    solid.fillValue = 0xFFFF;
    engine::displayConfig().useDestColorKey = true;
    engine::gfxDrawBitmap({10, 20, 50, 60}, &solid, 3, 3);
    EXPECT_EQ(target.calls, (std::vector<BlitCall>{{true, {10, 20, 50, 60}, {}, 0xFFFF}}));
}

TEST_F(Draw, FailedBlitIsTracedAndSkipped) {
    RecordingTarget target;
    target.result = -7;
    enginetest::TraceCapture trace;
    const GfxBitmap tile = surfaceBitmap(true);
    EXPECT_TRUE(engine::gfxDrawBitmap({0, 0, 8, 8}, &tile, 0, 0));
    EXPECT_EQ(trace.lines(), std::vector<std::string>{"BltFast failed err=-7"});
}

std::vector<engine::SurfaceHandle> g_released;
void recordRelease(engine::SurfaceHandle surface) { g_released.push_back(surface); }

TEST(BitmapList, NewestFirstAndFreedTogether) {
    GfxBitmap* made[3];
    for (uintptr_t i = 0; i < 3; ++i) {
        made[i] = engine::gfxAllocBitmap();
        ASSERT_NE(made[i], nullptr);
        if (i != 1) made[i]->surface = enginetest::fakeSurface(i + 1);
        engine::gfxLinkBitmap(made[i]);
    }
    engine::gfxDiscardBitmap(engine::gfxAllocBitmap());  // a creation that failed
    EXPECT_EQ(engine::gfxBitmapList(), made[2]);
    EXPECT_EQ(made[2]->next, made[1]);
    EXPECT_EQ(made[0]->next, nullptr);

    g_released.clear();
    engine::gfxFreeBitmapList(&recordRelease);
    EXPECT_EQ(engine::gfxBitmapList(), nullptr);
    EXPECT_EQ(g_released, (std::vector<engine::SurfaceHandle>{enginetest::fakeSurface(3), enginetest::fakeSurface(1)}));
}

TEST(BitmapList, FreeingLetsTheArchiveDropEarlierMappings) {
    const auto archive = enginetest::buildArchive({{"init.bmp", enginetest::makeDib(2, 2)}});
    ASSERT_TRUE(engine::ArtArchiveOpenBytes(engine::viewBytes(archive), 5));
    EXPECT_EQ(engine::gfxPlanPicture("init.bmp", false).kind, engine::PicturePlan::Kind::solid);
    ASSERT_TRUE(engine::ArtArchiveOpenBytes(engine::viewBytes(archive), 5));
    EXPECT_EQ(engine::ArtArchiveRetiredCount(), 1u);
    engine::gfxFreeBitmapList(nullptr);
    EXPECT_EQ(engine::ArtArchiveRetiredCount(), 0u);
    engine::ArtArchiveClose();
}

struct FrameTable {
    explicit FrameTable(uint16_t capacity) : frames(capacity), table{frames.data(), capacity, 55, 64} {}
    std::vector<engine::SpriteFrame> frames;
    engine::SpriteFrameTable table;
};

TEST(BitBltSprite, RegistersInOrderAndRefusesBadFrames) {
    FrameTable t(5);
    const GfxBitmap ab0, ab2;
    EXPECT_FALSE(engine::BitBltSprite(&t.table, &ab0, 1, 1, 55, 0, 47, 64)) << "origin outside the box";
    EXPECT_FALSE(engine::BitBltSprite(&t.table, &ab0, 1, 1, 0, 64, 47, 64));
    EXPECT_FALSE(engine::BitBltSprite(&t.table, nullptr, 1, 1, 0, 0, 47, 64));
    EXPECT_FALSE(engine::BitBltSprite(nullptr, &ab0, 1, 1, 0, 0, 47, 64));
    EXPECT_EQ(t.frames[0].bitmap, nullptr);

    EXPECT_TRUE(engine::BitBltSprite(&t.table, &ab0, 1, 1, 0, 0, 47, 64));
    EXPECT_TRUE(engine::BitBltSprite(&t.table, &ab2, 2, 1, 54, 63, 55, 64));
    EXPECT_EQ(t.frames[1].bitmap, &ab2);
    EXPECT_EQ(t.frames[1].action, 2);
    EXPECT_EQ(t.frames[1].srcX, 54);
    EXPECT_EQ(t.frames[1].width, 55);
}

TEST(BitBltSpriteDeathTest, OverflowIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    FrameTable t(5);
    const GfxBitmap frame;
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(engine::BitBltSprite(&t.table, &frame, 0, 2, 0, 0, 38, 38));
    EXPECT_EXIT(engine::BitBltSprite(&t.table, &frame, 0, 2, 0, 0, 38, 38), ::testing::ExitedWithCode(0),
                "FATAL ERROR: Bitmap overflow in BitBltSprite\r\n");
}

}  // namespace
