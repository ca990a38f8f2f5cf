#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/blit.h"
#include "engine/plane.h"
#include "engine_test_support.h"

namespace {

using engine::GfxBitmap;
using engine::Plane;
using engine::Rect;
using enginetest::BlitCall;
using enginetest::RecordingTarget;

constexpr int32_t kPixel = 65536;

std::vector<int16_t> readCells(const std::string& text, uint16_t width, uint16_t height) {
    Plane plane;
    EXPECT_TRUE(plane.readList(std::span<const char>(text.data(), text.size()), width, height));
    std::vector<int16_t> cells;
    for (size_t i = 0; i < size_t{width} * height; ++i) cells.push_back(plane.tileNumber(i));
    return cells;
}

TEST(PlaneList, Parsing) {
    const struct {
        const char* what;
        std::string text;
        std::vector<int16_t> cells;
    } cases[] = {
        {"zero, twelve, x, three", "0 12 x 3", {-1, 11, 2, -1, -1, -1}},
        {"rows on lines", "1\t2\r\n3x4\n\n5 6 7", {0, 1, 2, 3, 4, 5}},
        {"a bad character empties the rest", "5 7 ; 9 9 9", {4, 6, -1, -1, -1, -1}},
        {"a capital X is not a separator", "1X2 3 4 5 6", {0, -1, -1, -1, -1, -1}},
        {"empty text", "", {-1, -1, -1, -1, -1, -1}},
        {"numbers past any tile", "99999 32768 32767", {32767, 32767, 32766, -1, -1, -1}},
    };
    for (const auto& c : cases) EXPECT_EQ(readCells(c.text, 3, 2), c.cells) << c.what;
}

TEST(PlaneList, ShortListLeavesTheLastRowsEmpty) {
    std::string text;
    for (int row = 0; row < 15; ++row) {
        for (int column = 0; column < 26; ++column) text += "119 ";
        text += "\r\n";
    }
    const auto cells = readCells(text, 26, 20);
    EXPECT_EQ(cells[15 * 26 - 1], 118);
    for (size_t i = 15 * 26; i < cells.size(); ++i) ASSERT_EQ(cells[i], -1) << i;
}

TEST(PlaneList, TilesResolveThroughTheTileList) {
    std::vector<const GfxBitmap*> set(200, nullptr);
    const GfxBitmap t51, t170, t171;
    set[50] = &t51;
    set[169] = &t170;
    set[170] = &t171;  // a sprite picture, past the 170 tiles
    engine::TileList* tiles = engine::CreateTiles(set, 170);
    ASSERT_NE(tiles, nullptr);

    Plane plane;
    ASSERT_TRUE(plane.create(3, 2, 1));
    const std::string list = "51 170 171 0 20";  // the last cell is not in the list
    ASSERT_TRUE(plane.readList(std::span<const char>(list.data(), list.size()), 3, 2));
    EXPECT_TRUE(plane.attachTiles(*tiles));
    const GfxBitmap* expected[] = {&t51, &t170, nullptr, nullptr, nullptr, nullptr};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(plane.data()->cells[i], expected[i]) << i;
    EXPECT_TRUE(engine::DestroyTiles(tiles));

    // A list of another size than the plane resolves only what it covers.
    ASSERT_TRUE(plane.readList(std::span<const char>(list.data(), 3), 1, 1));
    tiles = engine::CreateTiles(set, 170);
    plane.attachTiles(*tiles);
    EXPECT_EQ(plane.data()->cells[0], &t51);
    EXPECT_EQ(plane.data()->cells[1], nullptr);
    engine::DestroyTiles(tiles);
    EXPECT_TRUE(plane.destroy());
    EXPECT_FALSE(plane.destroy());
}

TEST(Plane, RefusesSizesItCannotWrap) {
    const struct {
        uint16_t width, height, divisor;
        bool ok;
    } cases[] = {{20, 16, 10, true}, {0, 16, 1, false},     {20, 0, 1, false},    {20, 16, 0, false},
                 {1023, 64, 1, true}, {1024, 1, 1, false}, {300, 300, 1, false}};
    for (const auto& c : cases) {
        Plane plane;
        EXPECT_EQ(plane.create(c.width, c.height, c.divisor), c.ok) << c.width << "x" << c.height;
        EXPECT_EQ(plane.moveX(kPixel, engine::kModeAdd), c.ok);
    }
}

TEST(Plane, MovesAndWraps) {
    const int32_t period = 20 * engine::kTilePeriod;  // 640 pixels
    const struct {
        const char* what;
        int32_t start, speed, value, mode;
        int32_t x, speedAfter;
    } cases[] = {
        {"back one pixel from 0", 0, 0, -kPixel, engine::kModeAdd, 41877504, 0},
        {"past the end", period - kPixel, 0, 2 * kPixel, engine::kModeAdd, kPixel, 0},
        {"set", 5, 0, 100 * kPixel, engine::kModeSet, 100 * kPixel, 0},
        {"set far outside", 0, 0, -3 * period - 7, engine::kModeSet, period - 7, 0},
        {"advance by speed / divisor", 0, 30 * kPixel, 0, engine::kModeAdvance, 10 * kPixel, 0},
        {"advance truncates toward zero", 0, -10 * kPixel, 0, engine::kModeAdvance, period - 218453, 0},
        {"unknown mode", 9, 4, 123, 7, 9, 4},
        {"add cannot overflow", period - 1, 0, INT32_MAX, engine::kModeAdd,
         static_cast<int32_t>((int64_t{period} - 1 + INT32_MAX) % period), 0},
    };
    for (const auto& c : cases) {
        Plane plane;
        ASSERT_TRUE(plane.create(20, 16, 3));
        plane.moveX(c.start, engine::kModeSet);
        plane.setSpeedX(c.speed, engine::kModeSet);
        EXPECT_TRUE(plane.moveX(c.value, c.mode));
        EXPECT_EQ(plane.data()->x, c.x) << c.what;
        EXPECT_EQ(plane.data()->speedX, c.speedAfter) << c.what;
    }

    Plane plane;
    ASSERT_TRUE(plane.create(26, 20, 3));
    plane.setSpeedY(30 * kPixel, engine::kModeSet);
    plane.setSpeedY(3 * kPixel, engine::kModeAdd);
    plane.setSpeedY(99, 2);  // not a speed mode
    plane.moveY(0, engine::kModeAdvance);
    plane.moveY(0, engine::kModeAdvance);  // the speed was used up
    EXPECT_EQ(plane.data()->y, 11 * kPixel);
}

// A plane whose cells are all the same opaque tile.
struct FullPlane {
    explicit FullPlane(uint16_t width, uint16_t height) {
        tile.surface = enginetest::fakeSurface(1);
        set.assign(170, &tile);
        tiles = engine::CreateTiles(set, 170);
        plane.create(width, height, 1);
        std::string ones;
        for (size_t i = 0; i < size_t{width} * height; ++i) ones += "1 ";
        plane.readList(std::span<const char>(ones.data(), ones.size()), width, height);
        plane.attachTiles(*tiles);
    }
    ~FullPlane() { engine::DestroyTiles(tiles); }
    GfxBitmap tile;
    std::vector<const GfxBitmap*> set;
    engine::TileList* tiles = nullptr;
    Plane plane;
};

TEST(Plane, TileAlignedDrawIsTwentyByFifteenWholeTiles) {
    FullPlane p(20, 16);
    RecordingTarget target;
    p.plane.draw();
    ASSERT_EQ(target.calls.size(), 300u);
    for (size_t i = 0; i < target.calls.size(); ++i) {
        const int32_t x = static_cast<int32_t>(i % 20) * 32, y = static_cast<int32_t>(i / 20) * 32;
        ASSERT_EQ(target.calls[i], (BlitCall{false, {x, y, x + 32, y + 32}, {0, 0, 32, 32}, engine::kBltFastWait}))
            << i;
    }
}

TEST(Plane, HalfTileOffsetCutsTheFirstAndLastColumns) {
    FullPlane p(20, 16);
    p.plane.moveX(688128, engine::kModeSet);  // 10.5 pixels
    p.plane.moveY(33 * kPixel, engine::kModeSet);
    RecordingTarget target;
    p.plane.draw();
    ASSERT_EQ(target.calls.size(), 21u * 16u);
    const BlitCall& first = target.calls[0];
    EXPECT_EQ(first.dest, (Rect{0, 0, 22, 31}));
    EXPECT_EQ(first.source, (Rect{10, 1, 32, 32}));
    const BlitCall& last = target.calls[20];
    EXPECT_EQ(last.dest, (Rect{630, 0, 640, 31}));
    EXPECT_EQ(last.source, (Rect{0, 1, 10, 32}));
    const BlitCall& bottomRight = target.calls.back();
    EXPECT_EQ(bottomRight.dest, (Rect{630, 479, 640, 480}));
    EXPECT_EQ(bottomRight.source, (Rect{0, 0, 10, 1}));
    int32_t width = 0;
    for (int i = 0; i < 21; ++i) width += target.calls[static_cast<size_t>(i)].dest.width();
    EXPECT_EQ(width, 640);
}

TEST(Plane, TheMapRepeatsInBothDirections) {
    // A 3 x 2 map of distinct tiles seen from column 2, row 1.
    std::vector<GfxBitmap> tiles(6);
    std::vector<const GfxBitmap*> set;
    for (auto& t : tiles) set.push_back(&t);
    engine::TileList* list = engine::CreateTiles(set, 6);
    Plane plane;
    ASSERT_TRUE(plane.create(3, 2, 1));
    const std::string text = "1 2 3 4 5 6";
    plane.readList(std::span<const char>(text.data(), text.size()), 3, 2);
    plane.attachTiles(*list);
    plane.moveX(2 * engine::kTilePeriod, engine::kModeSet);
    plane.moveY(1 * engine::kTilePeriod, engine::kModeSet);
    for (size_t i = 0; i < 6; ++i) tiles[i].fillValue = static_cast<uint32_t>(i + 1);  // solid: drawn as fills
    RecordingTarget target;
    plane.draw();
    ASSERT_EQ(target.calls.size(), 300u);
    const uint32_t expectedRow0[] = {6, 4, 5, 6};  // columns 2, 0, 1, 2 of row 1
    const uint32_t expectedRow1[] = {3, 1, 2, 3};  // then row 0
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(target.calls[i].flags, expectedRow0[i]);
        EXPECT_EQ(target.calls[20 + i].flags, expectedRow1[i]);
    }
    engine::DestroyTiles(list);
}

}  // namespace
