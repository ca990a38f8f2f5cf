// The built art file and the committed lists, read by the engine itself:
// what the bee game will see when it starts.
#include "engine/art_archive.h"
#include "engine/bitmap.h"
#include "engine/plane.h"

#include "art_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace {

using engine::PicturePlan;

std::string listText(const char* file) { return arttest::readText(std::string(TE_LIST_DIR) + "/" + file); }

std::set<long> tilesIn(const char* file) {
    std::set<long> tiles;
    for (const auto& row : arttest::readList(listText(file)).rows)
        for (long n : row)
            if (n != 0) tiles.insert(n);
    return tiles;
}

std::string tileName(long n) {
    char name[16];
    std::snprintf(name, sizeof name, "%03u.BMP", static_cast<unsigned>(n));
    return name;
}

class EngineReadsTheArt : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(engine::ArtArchiveOpen(TE_ART_FILE, 5)) << TE_ART_FILE; }
    void TearDown() override {
        engine::ArtArchiveDataReleased();
        engine::ArtArchiveClose();
    }
};

TEST_F(EngineReadsTheArt, SpritesAreSeeThroughPictures) {
    for (const char* name : {"ab0.BMP", "ab1.BMP", "ab2.BMP", "ab3.BMP", "ab4.BMP", "mosca.bmp", "aviao0.bmp",
                             "aviao1.bmp"}) {
        const PicturePlan plan = engine::gfxPlanPicture(name, false);
        EXPECT_EQ(plan.kind, PicturePlan::Kind::surface) << name;
        EXPECT_TRUE(plan.transparent) << name;
        EXPECT_EQ(plan.picture.bitCount, 8) << name;
    }
}

TEST_F(EngineReadsTheArt, TitleAndSkyAreOpaque) {
    const PicturePlan title = engine::gfxPlanPicture("init.bmp", false);
    EXPECT_EQ(title.kind, PicturePlan::Kind::surface);
    EXPECT_FALSE(title.transparent);
    EXPECT_EQ(title.picture.width, 640);
    EXPECT_EQ(title.picture.height, 480);
    for (long n : tilesIn("BACKLIST.txt")) {
        const PicturePlan tile = engine::gfxPlanPicture(tileName(n).c_str(), false);
        EXPECT_NE(tile.kind, PicturePlan::Kind::none) << n;
        EXPECT_FALSE(tile.transparent) << n;
    }
}

TEST_F(EngineReadsTheArt, EveryListedTileLoads) {
    for (const char* list : {"BACKLIST.txt", "MIDLIST.txt", "FORELIST.txt"})
        for (long n : tilesIn(list)) {
            const PicturePlan tile = engine::gfxPlanPicture(tileName(n).c_str(), false);
            EXPECT_NE(tile.kind, PicturePlan::Kind::none) << list << " tile " << n;
            if (tile.kind == PicturePlan::Kind::surface) {
                EXPECT_EQ(tile.picture.width, 32) << n;
                EXPECT_EQ(tile.picture.height, 32) << n;
            }
        }
}

TEST(EngineReadsTheLists, EveryCellAsWritten) {
    const struct {
        const char* file;
        uint16_t width, height;
    } planes[] = {{"BACKLIST.txt", 20, 16}, {"MIDLIST.txt", 26, 20}, {"FORELIST.txt", 30, 15}};
    for (const auto& p : planes) {
        const std::string text = listText(p.file);
        engine::Plane plane;
        ASSERT_TRUE(plane.create(p.width, p.height, 1)) << p.file;
        ASSERT_TRUE(plane.readList(std::span<const char>(text.data(), text.size()), p.width, p.height)) << p.file;
        const auto rows = arttest::readList(text).rows;
        for (std::size_t cell = 0; cell < std::size_t{p.width} * p.height; ++cell) {
            const std::size_t r = cell / p.width, c = cell % p.width;
            const long expected = r < rows.size() ? rows[r][c] : 0;  // rows past the list stay empty
            EXPECT_EQ(plane.tileNumber(cell), expected - 1) << p.file << " row " << r << " column " << c;
        }
        plane.destroy();
    }
}

}  // namespace
