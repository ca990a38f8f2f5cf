// The built art files and their lists, read by the engine itself: what
// each game will see when it starts.
#include "engine/art_archive.h"
#include "engine/bitmap.h"
#include "engine/plane.h"
#include "scenes/scene_description.h"
#include "tools/artgen/art_set.h"

#include "art_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace {

using engine::PicturePlan;

const char* kGames[] = {"abelha", "carro", "barco", "menina"};

std::string listText(const std::string& game, const char* file) {
    return arttest::readText(std::string(TE_LIST_ROOT) + "/" + game + "/" + file);
}

std::set<long> tilesIn(const std::string& game, const char* file) {
    std::set<long> tiles;
    for (const auto& row : arttest::readList(listText(game, file)).rows)
        for (long n : row)
            if (n != 0) tiles.insert(n);
    return tiles;
}

std::string tileName(long n) {
    char name[16];
    std::snprintf(name, sizeof name, "%03u.BMP", static_cast<unsigned>(n));
    return name;
}

const scenes::SceneDescription& sceneNamed(const std::string& game) { return artgen::sceneOf(*artgen::gameNamed(game)); }

// Each game's art file, opened as the game opens it.
class EngineReadsTheArt : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        const std::string file = std::string(TE_ART_DIR) + "/" + GetParam() + ".ff";
        ASSERT_TRUE(engine::ArtArchiveOpen(file.c_str(), 5)) << file;
    }
    void TearDown() override {
        engine::ArtArchiveDataReleased();
        engine::ArtArchiveClose();
    }
};

TEST_P(EngineReadsTheArt, SpritesAreSeeThroughPictures) {
    for (std::string_view name : sceneNamed(GetParam()).spritePictures) {
        const PicturePlan plan = engine::gfxPlanPicture(std::string(name).c_str(), false);
        EXPECT_EQ(plan.kind, PicturePlan::Kind::surface) << name;
        EXPECT_TRUE(plan.transparent) << name;
        EXPECT_EQ(plan.picture.bitCount, 8) << name;
    }
}

TEST_P(EngineReadsTheArt, TitleAndSkyAreOpaque) {
    const PicturePlan title = engine::gfxPlanPicture("init.bmp", false);
    EXPECT_EQ(title.kind, PicturePlan::Kind::surface);
    EXPECT_FALSE(title.transparent);
    EXPECT_EQ(title.picture.width, 640);
    EXPECT_EQ(title.picture.height, 480);
    for (long n : tilesIn(GetParam(), "BACKLIST.txt")) {
        const PicturePlan tile = engine::gfxPlanPicture(tileName(n).c_str(), false);
        EXPECT_NE(tile.kind, PicturePlan::Kind::none) << n;
        EXPECT_FALSE(tile.transparent) << n;
    }
}

TEST_P(EngineReadsTheArt, EveryListedTileLoads) {
    for (const char* list : {"BACKLIST.txt", "MIDLIST.txt", "FORELIST.txt"})
        for (long n : tilesIn(GetParam(), list)) {
            const PicturePlan tile = engine::gfxPlanPicture(tileName(n).c_str(), false);
            EXPECT_NE(tile.kind, PicturePlan::Kind::none) << list << " tile " << n;
            if (tile.kind == PicturePlan::Kind::surface) {
                EXPECT_EQ(tile.picture.width, 32) << n;
                EXPECT_EQ(tile.picture.height, 32) << n;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Games, EngineReadsTheArt, ::testing::ValuesIn(kGames),
                         [](const auto& param) { return std::string(param.param); });

TEST(EngineReadsTheLists, EveryCellAsWritten) {
    for (const char* game : kGames) {
        const scenes::SceneDescription& scene = sceneNamed(game);
        for (const scenes::PlaneLayout& p : {scene.back, scene.middle, scene.front}) {
            const std::string file = std::string(p.list) + ".txt";
            SCOPED_TRACE(std::string(game) + " " + file);
            const std::string text = listText(game, file.c_str());
            engine::Plane plane;
            ASSERT_TRUE(plane.create(p.width, p.height, 1));
            ASSERT_TRUE(plane.readList(std::span<const char>(text.data(), text.size()), p.width, p.height));
            const auto rows = arttest::readList(text).rows;
            for (std::size_t cell = 0; cell < std::size_t{p.width} * p.height; ++cell) {
                const std::size_t r = cell / p.width, c = cell % p.width;
                const long expected = r < rows.size() ? rows[r][c] : 0;  // rows past the list stay empty
                EXPECT_EQ(plane.tileNumber(cell), expected - 1) << "row " << r << " column " << c;
            }
            plane.destroy();
        }
    }
}

}  // namespace
