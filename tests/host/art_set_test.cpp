// The games' generated art: the pictures each program loads, the plane
// lists built with it, how the tiles join, and that every build gives the
// same bytes.  Table-driven over the four games.
#include "engine/dib.h"
#include "scenes/scene_description.h"
#include "tools/artgen/art_set.h"
#include "tools/artgen/palette.h"
#include "tools/ffpack/ff_writer.h"

#include "art_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <map>
#include <set>

namespace {

using arttest::Bitmap;
using artgen::Game;

struct Generated {
    artgen::ArtSet art;
    std::map<std::string, std::vector<uint8_t>> files;  // name -> BMP bytes
    std::map<std::string, Bitmap> bitmaps;
};

Generated generate(Game game) {
    Generated g{artgen::generateArtSet(game), {}, {}};
    for (const auto& p : g.art.pictures) {
        g.files[p.name] = artgen::encodeBmp8(p.image, artgen::artPalette());
        g.bitmaps[p.name] = arttest::readBitmap(g.files[p.name]);
    }
    return g;
}

const Generated& generated(Game game) {
    static std::map<Game, Generated> cache;
    auto it = cache.find(game);
    if (it == cache.end()) it = cache.emplace(game, generate(game)).first;
    return it->second;
}

const Bitmap& picture(Game game, const std::string& name) {
    static const Bitmap missing{"missing"};
    const auto& b = generated(game).bitmaps;
    const auto it = b.find(name);
    return it == b.end() ? missing : it->second;
}

using artgen::sceneOf;

std::string tileName(long number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03u.BMP", static_cast<unsigned>(number));
    return name;
}

std::string builtListPath(Game game, const std::string& file) {
    return std::string(TE_LIST_ROOT) + "/" + artgen::gameName(game) + "/" + file;
}

arttest::ListText builtList(Game game, const std::string& file) {
    return arttest::readList(arttest::readText(builtListPath(game, file)));
}

class EachGame : public ::testing::TestWithParam<Game> {
protected:
    Game game() const { return GetParam(); }
    const Generated& art() const { return generated(GetParam()); }
    const Bitmap& pic(const std::string& name) const { return picture(GetParam(), name); }
};

std::string nameOf(const ::testing::TestParamInfo<Game>& info) { return artgen::gameName(info.param); }

// ---- The plane lists built with the art ---------------------------------------------

struct ExpectedList {
    Game game;
    const char* file;
    std::size_t rows, columns;
    bool emptyCellsAllowed;
    std::set<long> tiles;
};

std::set<long> tileSet(std::initializer_list<std::pair<long, long>> ranges) {
    std::set<long> s;
    for (auto [first, last] : ranges)
        for (long n = first; n <= last; ++n) s.insert(n);
    return s;
}

// Rows listed, columns, and the tile numbers each list may use.
const std::vector<ExpectedList>& expectedLists() {
    static const std::vector<ExpectedList> lists = {
        {Game::Abelha, "BACKLIST.txt", 16, 20, false, tileSet({{51, 110}, {118, 118}})},
        {Game::Abelha, "MIDLIST.txt", 15, 26, true, tileSet({{119, 123}})},
        {Game::Abelha, "FORELIST.txt", 15, 30, true, tileSet({{124, 138}})},
        {Game::Carro, "BACKLIST.txt", 16, 36, false,
         tileSet({{60, 108}, {118, 118}, {124, 159}, {163, 164}})},
        {Game::Carro, "MIDLIST.txt", 15, 26, true, tileSet({{119, 123}})},
        {Game::Carro, "FORELIST.txt", 15, 30, true, tileSet({{51, 58}, {160, 161}})},
        {Game::Barco, "BACKLIST.txt", 16, 30, false, tileSet({{51, 59}, {117, 118}})},
        {Game::Barco, "MIDLIST.txt", 15, 26, true, tileSet({{119, 123}})},
        {Game::Barco, "FORELIST.txt", 15, 30, true, tileSet({{124, 138}})},
        {Game::Menina, "BACKLIST.txt", 16, 26, false, tileSet({{51, 103}, {118, 118}, {139, 147}})},
        {Game::Menina, "MIDLIST.txt", 15, 26, true, tileSet({{119, 123}})},
        {Game::Menina, "FORELIST.txt", 15, 26, true, tileSet({{124, 138}})},
    };
    return lists;
}

TEST(PlaneLists, HaveTheirRowsColumnsAndTiles) {
    for (const auto& expected : expectedLists()) {
        SCOPED_TRACE(std::string(artgen::gameName(expected.game)) + " " + expected.file);
        const auto list = builtList(expected.game, expected.file);
        EXPECT_TRUE(list.onlyDigitsSpacesAndNewlines);
        ASSERT_EQ(list.rows.size(), expected.rows);
        for (const auto& row : list.rows) {
            ASSERT_EQ(row.size(), expected.columns);
            for (long n : row)
                EXPECT_TRUE((n == 0 && expected.emptyCellsAllowed) || expected.tiles.count(n)) << "tile " << n;
        }
    }
}

TEST(PlaneLists, SharedListsAreTheBees) {
    // The car's middle plane and the boat's front plane are the bee's lists,
    // and SURFLIST is the same everywhere.
    const auto bee = [](const char* file) { return arttest::readText(builtListPath(Game::Abelha, file)); };
    EXPECT_EQ(arttest::readText(builtListPath(Game::Carro, "MIDLIST.txt")), bee("MIDLIST.txt"));
    EXPECT_EQ(arttest::readText(builtListPath(Game::Barco, "FORELIST.txt")), bee("FORELIST.txt"));
    for (Game game : artgen::kGames)
        EXPECT_EQ(arttest::readText(builtListPath(game, "SURFLIST.txt")), bee("SURFLIST.txt")) << artgen::gameName(game);
}

TEST(PlaneLists, SurfaceListMarksTheGround) {
    const auto surface = builtList(Game::Abelha, "SURFLIST.txt");
    const auto front = builtList(Game::Abelha, "FORELIST.txt");
    EXPECT_TRUE(surface.onlyDigitsSpacesAndNewlines);
    ASSERT_EQ(surface.rows.size(), 15u);
    for (std::size_t r = 0; r < 15; ++r) {
        ASSERT_EQ(surface.rows[r].size(), 80u);
        const long ground = front.rows[r][0] != 0 ? 1 : 0;
        for (long v : surface.rows[r]) EXPECT_EQ(v, ground) << "row " << r;
    }
}

// The program carries the lists the build wrote with its art, so they name
// exactly the tiles in the art file: each listed tile is there, and each
// tile there is listed.
TEST_P(EachGame, BuiltListsAndArtFileNameTheSameTiles) {
    for (const auto& list : artgen::planeLists(art().art))
        EXPECT_EQ(arttest::readText(builtListPath(game(), list.fileName)), list.text) << list.fileName;
    std::set<std::string> listed;
    for (const char* file : {"BACKLIST.txt", "MIDLIST.txt", "FORELIST.txt"})
        for (const auto& row : builtList(game(), file).rows)
            for (long n : row)
                if (n != 0) listed.insert(tileName(n));
    const auto view = arttest::readArchive(arttest::readBytes(std::string(TE_ART_DIR) + "/" + artgen::gameName(game()) + ".ff"));
    ASSERT_TRUE(view);
    std::set<std::string> tilesInFile;
    for (const auto& entry : view->entries)
        if (entry.name.size() == 7 && std::isdigit(static_cast<unsigned char>(entry.name[0]))) tilesInFile.insert(entry.name);
    EXPECT_EQ(listed, tilesInFile);
}

// ---- The pictures the game loads ----------------------------------------------

// Every picture the scene loads is there, and each frame's picture has the
// frame's size: what the scene description asks for is what was drawn.
TEST_P(EachGame, PicturesHaveTheSizesTheirFramesAsk) {
    const scenes::SceneDescription& scene = sceneOf(game());
    EXPECT_EQ(pic("init.bmp").width, 640);
    EXPECT_EQ(pic("init.bmp").height, 480);
    for (std::string_view name : scene.spritePictures) {
        const Bitmap& b = pic(std::string(name));
        EXPECT_TRUE(b.error.empty()) << name << ": " << b.error;
    }
    auto checkFrames = [&](const scenes::SpriteLayout& sprite) {
        for (const auto& frame : sprite.frames) {
            const Bitmap& b = pic(std::string(frame.picture));
            EXPECT_EQ(b.width, frame.width) << frame.picture;
            EXPECT_EQ(b.height, frame.height) << frame.picture;
        }
    };
    checkFrames(scene.mainSprite);
    for (const auto& sprite : scene.extras) checkFrames(sprite);
}

TEST_P(EachGame, AllPicturesShareOnePaletteWithWhiteLast) {
    for (const auto& [name, b] : art().bitmaps) {
        EXPECT_TRUE(b.table[255].isWhite()) << name;
        EXPECT_EQ(b.table, pic("init.bmp").table) << name;
    }
}

std::vector<std::string> spriteNames(Game game) {
    std::vector<std::string> names;
    for (std::string_view name : sceneOf(game).spritePictures) names.emplace_back(name);
    return names;
}

TEST_P(EachGame, SpritesStandOnTransparentWhite) {
    for (const auto& name : spriteNames(game())) {
        const Bitmap& b = pic(name);
        ASSERT_TRUE(b.error.empty()) << name;
        const int w = b.width - 1, h = b.height - 1;
        EXPECT_TRUE(b.transparent(0, 0) || b.transparent(w, 0) || b.transparent(0, h) || b.transparent(w, h)) << name;
        int visible = 0;
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x) visible += !b.transparent(x, y);
        // Not blank, and not a filled box either.
        EXPECT_GT(visible, b.width * b.height / 5) << name;
        EXPECT_LT(visible, b.width * b.height * 9 / 10) << name;
    }
}

TEST_P(EachGame, NoPictureIsAllWhite) {
    // The engine would take it for one colour and fill it with opaque white.
    for (const auto& [name, b] : art().bitmaps)
        EXPECT_FALSE(std::all_of(b.pixels.begin(), b.pixels.end(), [&](uint8_t i) { return b.table[i].isWhite(); }))
            << name;
}

// What the engine shows a colour as, per display depth: at 8 bits the 3-3-2
// index of the colour it loads, at 15 and 16 bits the colour cut to 5-5-5
// or 5-6-5.  The key is pure white in each.
bool showsAsKey(uint32_t loaded, int depth) {
    const auto r = static_cast<uint8_t>(loaded >> 16), g = static_cast<uint8_t>(loaded >> 8),
               b = static_cast<uint8_t>(loaded);
    switch (depth) {
    case 8: return engine::index332(r, g, b) == 255;
    case 15: return (r >> 3) == 31 && (g >> 3) == 31 && (b >> 3) == 31;
    default: return (r >> 3) == 31 && (g >> 2) == 63 && (b >> 3) == 31;
    }
}

// A visible pixel of a see-through picture that shows as the key is a hole.
TEST_P(EachGame, NoVisibleColourBecomesAHoleAtAnyDepth) {
    for (const auto& [name, bytes] : art().files) {
        engine::DibInfo info;
        ASSERT_EQ(engine::checkDib(bytes, info), engine::DibCheck::ok) << name;
        uint32_t loaded[256];
        engine::surfaceColorTable(info, loaded);
        const Bitmap& b = pic(name);
        std::set<uint8_t> used(b.pixels.begin(), b.pixels.end());
        if (!used.count(artgen::kTransparentIndex)) continue;  // drawn opaque, without a key
        for (uint8_t index : used) {
            if (index == artgen::kTransparentIndex) continue;
            for (int depth : {8, 15, 16})
                EXPECT_FALSE(showsAsKey(loaded[index], depth)) << name << " index " << int(index) << " at " << depth;
        }
    }
}

bool nearWhite(arttest::Colour c) { return c.r >= 224 && c.g >= 224 && c.b >= 224; }

// A pale pixel on the edge of a shape shows as a halo against the scenery.
// Around a sprite lies scenery; around a tile, the next tile.
int paleFringePixels(const Bitmap& b, bool outsideIsTransparent) {
    int count = 0;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            if (b.transparent(x, y) || !nearWhite(b.colour(x, y))) continue;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int nx = x + dx, ny = y + dy;
                const bool outside = nx < 0 || ny < 0 || nx >= b.width || ny >= b.height;
                if (outside ? outsideIsTransparent : b.transparent(nx, ny)) {
                    ++count;
                    break;
                }
            }
        }
    return count;
}

TEST_P(EachGame, SeeThroughPicturesHaveNoPaleFringe) {
    const auto sprites = spriteNames(game());
    for (const auto& [name, b] : art().bitmaps) {
        const bool sprite = std::find(sprites.begin(), sprites.end(), name) != sprites.end();
        EXPECT_EQ(paleFringePixels(b, sprite), 0) << name;
    }
}

template <typename Predicate>
int countPixels(const Bitmap& b, Predicate is) {
    int n = 0;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) n += !b.transparent(x, y) && is(b.colour(x, y));
    return n;
}

// The heroes are what the children look at: each is clearly its colour.
TEST(HeroArt, EachHeroCarriesItsColours) {
    auto yellow = [](arttest::Colour c) { return c.r >= 200 && c.g >= 150 && c.b <= 140; };
    auto black = [](arttest::Colour c) { return c.r + c.g + c.b <= 150; };
    auto paleBlue = [](arttest::Colour c) { return c.b >= 200 && c.b >= c.r + 20; };
    auto red = [](arttest::Colour c) { return c.r >= 180 && c.g <= 80 && c.b <= 80; };
    auto navy = [](arttest::Colour c) { return c.b >= 90 && c.r <= 60 && c.g <= 70; };
    auto pink = [](arttest::Colour c) { return c.r >= 220 && c.g >= 90 && c.g <= 160 && c.b >= 150; };
    const struct {
        Game game;
        std::vector<const char*> frames;
        std::vector<std::pair<std::function<bool(arttest::Colour)>, int>> colours;  // colour, at least area / n
    } heroes[] = {
        {Game::Abelha, {"ab0.BMP", "ab1.BMP", "ab2.BMP", "ab3.BMP", "ab4.BMP"}, {{yellow, 12}, {black, 12}, {paleBlue, 20}}},
        {Game::Carro, {"carro1.BMP", "carro2.BMP", "carro3.BMP"}, {{red, 5}, {black, 20}}},
        {Game::Barco, {"b0.BMP", "b1.BMP", "b2.BMP", "b3.BMP", "b4.BMP"}, {{yellow, 12}, {navy, 20}}},
        {Game::Menina, {"girl0.BMP", "girl1.BMP", "girl2.BMP", "girl3.BMP"}, {{pink, 15}}},
    };
    for (const auto& hero : heroes)
        for (const char* name : hero.frames) {
            const Bitmap& b = picture(hero.game, name);
            for (std::size_t i = 0; i < hero.colours.size(); ++i)
                EXPECT_GT(countPixels(b, hero.colours[i].first), b.width * b.height / hero.colours[i].second)
                    << name << " colour " << i;
        }
}

// ---- Tiles join without seams -------------------------------------------------

// How different two pixels look; transparent against visible is the most.
int difference(const Bitmap& a, int ax, int ay, const Bitmap& b, int bx, int by) {
    const bool ta = a.transparent(ax, ay), tb = b.transparent(bx, by);
    if (ta || tb) return ta == tb ? 0 : 765;
    const auto ca = a.colour(ax, ay), cb = b.colour(bx, by);
    return std::abs(ca.r - cb.r) + std::abs(ca.g - cb.g) + std::abs(ca.b - cb.b);
}

// Sum of differences along one line of 32 pixel pairs; column pairs when
// horizontal (left tile's column lx against right tile's column rx).
int lineDifference(const Bitmap& first, int firstAt, const Bitmap& second, int secondAt, bool horizontal) {
    int sum = 0;
    for (int i = 0; i < 32; ++i)
        sum += horizontal ? difference(first, firstAt, i, second, secondAt, i)
                          : difference(first, i, firstAt, second, i, secondAt);
    return sum;
}

// A seam is a jump across the joint clearly larger than the change between
// neighbouring lines inside either tile, so gradients, dithering and shapes
// that carry on across the joint pass while a cut-off shape does not.
bool joinsWithoutSeam(const Bitmap& first, const Bitmap& second, bool horizontal, std::string* why) {
    const int across = lineDifference(first, 31, second, 0, horizontal);
    const int inside = std::max(lineDifference(first, 30, first, 31, horizontal),
                                lineDifference(second, 0, second, 1, horizontal));
    constexpr int kAllowance = 32 * 12;  // an average step of 12 per pixel
    if (across <= 2 * inside + kAllowance) return true;
    *why = "jump " + std::to_string(across) + " across the joint, " + std::to_string(inside) + " inside";
    return false;
}

struct Plane {
    std::string file;
    std::vector<std::vector<long>> cells;
};

std::vector<Plane> planes(Game game) {
    std::vector<Plane> result;
    for (const char* file : {"BACKLIST.txt", "MIDLIST.txt", "FORELIST.txt"})
        result.push_back({std::string(artgen::gameName(game)) + " " + file, builtList(game, file).rows});
    return result;
}

TEST(TileJoins, SeamMeasureCatchesMismatchedTiles) {
    const auto bee = [](const char* name) -> const Bitmap& { return picture(Game::Abelha, name); };
    // The hill's flat body next to the foot of a rising slope: green runs into nothing.
    std::string why;
    EXPECT_FALSE(joinsWithoutSeam(bee("121.BMP"), bee("119.BMP"), true, &why));
    // The top row of sky directly above the meadow.
    EXPECT_FALSE(joinsWithoutSeam(bee("051.BMP"), bee("124.BMP"), false, &why));
    // And passes a tile joined to itself only when it repeats seamlessly.
    EXPECT_TRUE(joinsWithoutSeam(bee("121.BMP"), bee("121.BMP"), true, &why)) << why;
}

TEST_P(EachGame, RowsJoinIncludingTheWrap) {
    for (const auto& plane : planes(game()))
        for (std::size_t r = 0; r < plane.cells.size(); ++r) {
            const auto& row = plane.cells[r];
            for (std::size_t c = 0; c < row.size(); ++c) {
                const long left = row[c], right = row[(c + 1) % row.size()];
                if (left == 0 || right == 0) continue;
                std::string why;
                EXPECT_TRUE(joinsWithoutSeam(pic(tileName(left)), pic(tileName(right)), true, &why))
                    << plane.file << " row " << r << " columns " << c << "|" << (c + 1) % row.size() << " (" << left
                    << "|" << right << "): " << why;
            }
        }
}

TEST_P(EachGame, ColumnsJoinWhereBothCellsHaveTiles) {
    for (const auto& plane : planes(game()))
        for (std::size_t r = 0; r + 1 < plane.cells.size(); ++r)
            for (std::size_t c = 0; c < plane.cells[r].size(); ++c) {
                const long top = plane.cells[r][c], bottom = plane.cells[r + 1][c];
                if (top == 0 || bottom == 0) continue;
                std::string why;
                EXPECT_TRUE(joinsWithoutSeam(pic(tileName(top)), pic(tileName(bottom)), false, &why))
                    << plane.file << " rows " << r << "|" << r + 1 << " column " << c << " (" << top << "/" << bottom
                    << "): " << why;
            }
}

int transparentInColumn(const Bitmap& b, int x) {
    int n = 0;
    for (int y = 0; y < 32; ++y) n += b.transparent(x, y);
    return n;
}

TEST_P(EachGame, TilesBesideAnEmptyCellFadeIntoIt) {
    for (const auto& plane : planes(game()))
        for (const auto& row : plane.cells)
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (row[c] == 0) continue;
                const Bitmap& b = pic(tileName(row[c]));
                if (row[(c + row.size() - 1) % row.size()] == 0) {
                    EXPECT_GE(transparentInColumn(b, 0), 30) << plane.file << " tile " << row[c] << " left edge";
                }
                if (row[(c + 1) % row.size()] == 0) {
                    EXPECT_GE(transparentInColumn(b, 31), 30) << plane.file << " tile " << row[c] << " right edge";
                }
            }
}

TEST_P(EachGame, MiddlePlaneStandsOnTheFrontWhereverItScrolls) {
    // The middle plane moves over the front plane, so any tile of its bottom
    // row can come to rest on any tile of the front's top row.  The car's
    // road is drawn over the hills and starts with its own kerb.
    if (game() == Game::Carro) GTEST_SKIP() << "the road covers the foot of the hills";
    const auto middle = builtList(game(), "MIDLIST.txt").rows;
    const auto front = builtList(game(), "FORELIST.txt").rows;
    const std::size_t lowestRow = 12, frontTopRow = 13;
    for (long upper : std::set<long>(middle[lowestRow].begin(), middle[lowestRow].end()))
        for (long lower : std::set<long>(front[frontTopRow].begin(), front[frontTopRow].end())) {
            ASSERT_NE(upper, 0);
            ASSERT_NE(lower, 0);
            std::string why;
            EXPECT_TRUE(joinsWithoutSeam(pic(tileName(upper)), pic(tileName(lower)), false, &why))
                << upper << " on " << lower << ": " << why;
        }
}

// ---- Same bytes every time --------------------------------------------------------

std::vector<ff::Member> members(const Generated& g) {
    std::vector<ff::Member> m;
    for (const auto& [name, bytes] : g.files) m.push_back({name, bytes});
    return m;
}

// The build drew the art file in another process: equal bytes show that
// generation does not depend on the run.
TEST_P(EachGame, TheBuiltArtFileIsTheGeneratedSet) {
    const std::string path = std::string(TE_ART_DIR) + "/" + artgen::gameName(game()) + ".ff";
    const auto built = arttest::readBytes(path);
    ASSERT_FALSE(built.empty()) << path;
    const auto expected = ff::buildArchive(members(art()));
    ASSERT_TRUE(expected.ok()) << expected.error;
    EXPECT_TRUE(built == expected.bytes) << path << " differs from a fresh generation";
    // And the game finds its pictures in it, spelled as it asks for them.
    const auto view = arttest::readArchive(built);
    ASSERT_TRUE(view);
    EXPECT_NE(arttest::findByBisection(*view, "INIT.BMP"), nullptr);
    for (std::string_view name : sceneOf(game()).spritePictures)
        EXPECT_NE(arttest::findByBisection(*view, name), nullptr) << name;
}

INSTANTIATE_TEST_SUITE_P(Games, EachGame, ::testing::ValuesIn(artgen::kGames), nameOf);

}  // namespace
