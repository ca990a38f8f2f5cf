// The bee game's generated art: the pictures it loads, the plane lists,
// how the tiles join, and that every build gives the same bytes.
#include "tools/artgen/art_set.h"
#include "tools/artgen/palette.h"
#include "tools/ffpack/ff_writer.h"

#include "art_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

namespace {

using arttest::Bitmap;

struct Generated {
    artgen::ArtSet art;
    std::map<std::string, std::vector<uint8_t>> files;  // name -> BMP bytes
    std::map<std::string, Bitmap> bitmaps;
};

Generated generate() {
    Generated g{artgen::generateArtSet(), {}, {}};
    for (const auto& p : g.art.pictures) {
        g.files[p.name] = artgen::encodeBmp8(p.image, artgen::artPalette());
        g.bitmaps[p.name] = arttest::readBitmap(g.files[p.name]);
    }
    return g;
}

const Generated& generated() {
    static const Generated g = generate();
    return g;
}

const Bitmap& picture(const std::string& name) {
    static const Bitmap missing{"missing"};
    const auto& b = generated().bitmaps;
    const auto it = b.find(name);
    return it == b.end() ? missing : it->second;
}

std::string tileName(long number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03u.BMP", static_cast<unsigned>(number));
    return name;
}

// ---- The committed plane lists ------------------------------------------------

struct ExpectedList {
    const char* file;
    std::size_t rows, columns;
    bool emptyCellsAllowed;
    std::set<long> tiles;
};

std::set<long> range(long first, long last) {
    std::set<long> s;
    for (long n = first; n <= last; ++n) s.insert(n);
    return s;
}

const std::vector<ExpectedList>& planeLists() {
    static const std::vector<ExpectedList> lists = [] {
        auto back = range(51, 110);
        back.insert(118);
        return std::vector<ExpectedList>{
            {"BACKLIST.txt", 16, 20, false, back},
            {"MIDLIST.txt", 15, 26, true, range(119, 123)},
            {"FORELIST.txt", 15, 30, true, range(124, 138)},
        };
    }();
    return lists;
}

arttest::ListText committedList(const char* file) {
    return arttest::readList(arttest::readText(std::string(TE_LIST_DIR) + "/" + file));
}

TEST(PlaneLists, HaveTheirRowsColumnsAndTiles) {
    for (const auto& expected : planeLists()) {
        SCOPED_TRACE(expected.file);
        const auto list = committedList(expected.file);
        EXPECT_TRUE(list.onlyDigitsSpacesAndNewlines);
        ASSERT_EQ(list.rows.size(), expected.rows);
        for (const auto& row : list.rows) {
            ASSERT_EQ(row.size(), expected.columns);
            for (long n : row)
                EXPECT_TRUE((n == 0 && expected.emptyCellsAllowed) || expected.tiles.count(n)) << "tile " << n;
        }
    }
}

TEST(PlaneLists, SurfaceListMarksTheGround) {
    const auto surface = committedList("SURFLIST.txt");
    const auto front = committedList("FORELIST.txt");
    EXPECT_TRUE(surface.onlyDigitsSpacesAndNewlines);
    ASSERT_EQ(surface.rows.size(), 15u);
    for (std::size_t r = 0; r < 15; ++r) {
        ASSERT_EQ(surface.rows[r].size(), 80u);
        const long ground = front.rows[r][0] != 0 ? 1 : 0;
        for (long v : surface.rows[r]) EXPECT_EQ(v, ground) << "row " << r;
    }
}

TEST(PlaneLists, AreWhatTheGeneratorDesigned) {
    for (const auto& list : artgen::planeLists(generated().art))
        EXPECT_EQ(arttest::readText(std::string(TE_LIST_DIR) + "/" + list.fileName), list.text)
            << list.fileName << " is out of date: run artgen --lists resources/abelha";
}

// ---- The pictures the game loads ----------------------------------------------

TEST(BeeArt, TitleAndSpritesHaveTheirSizes) {
    const struct {
        std::string name;
        int width, height;
    } expected[] = {
        {"init.bmp", 640, 480},  {"ab0.BMP", 47, 64},    {"ab1.BMP", 47, 64},    {"ab2.BMP", 55, 64},
        {"ab3.BMP", 55, 64},     {"ab4.BMP", 55, 64},    {"mosca.bmp", 38, 38},  {"aviao0.bmp", 64, 64},
        {"aviao1.bmp", 64, 64},
    };
    for (const auto& e : expected) {
        const Bitmap& b = picture(e.name);
        EXPECT_TRUE(b.error.empty()) << e.name << ": " << b.error;
        EXPECT_EQ(b.width, e.width) << e.name;
        EXPECT_EQ(b.height, e.height) << e.name;
    }
    // The listed tiles are checked in the built file, through the engine.
}

TEST(BeeArt, AllPicturesShareOnePaletteWithWhiteLast) {
    for (const auto& [name, b] : generated().bitmaps) {
        EXPECT_TRUE(b.table[255].isWhite()) << name;
        EXPECT_EQ(b.table, picture("init.bmp").table) << name;
    }
}

std::vector<std::string> spriteNames() {
    return {"ab0.BMP", "ab1.BMP", "ab2.BMP", "ab3.BMP", "ab4.BMP", "mosca.bmp", "aviao0.bmp", "aviao1.bmp"};
}

TEST(BeeArt, SpritesStandOnTransparentWhite) {
    for (const auto& name : spriteNames()) {
        const Bitmap& b = picture(name);
        ASSERT_TRUE(b.error.empty()) << name;
        const int w = b.width - 1, h = b.height - 1;
        EXPECT_TRUE(b.transparent(0, 0) && b.transparent(w, 0) && b.transparent(0, h) && b.transparent(w, h)) << name;
        int visible = 0;
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x) visible += !b.transparent(x, y);
        // Not blank, and not a filled box either.
        EXPECT_GT(visible, b.width * b.height / 5) << name;
        EXPECT_LT(visible, b.width * b.height * 4 / 5) << name;
    }
}

TEST(BeeArt, NoPictureIsAllWhite) {
    // The engine would take it for one colour and fill it with opaque white.
    for (const auto& [name, b] : generated().bitmaps)
        EXPECT_FALSE(std::all_of(b.pixels.begin(), b.pixels.end(), [&](uint8_t i) { return b.table[i].isWhite(); }))
            << name;
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

TEST(BeeArt, SeeThroughPicturesHaveNoPaleFringe) {
    const auto sprites = spriteNames();
    for (const auto& [name, b] : generated().bitmaps) {
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

TEST(BeeArt, TheBeeIsYellowAndBlackWithWings) {
    for (const char* name : {"ab0.BMP", "ab1.BMP", "ab2.BMP", "ab3.BMP", "ab4.BMP"}) {
        const Bitmap& b = picture(name);
        const int area = b.width * b.height;
        auto yellow = [](arttest::Colour c) { return c.r >= 200 && c.g >= 150 && c.b <= 140; };
        auto black = [](arttest::Colour c) { return c.r + c.g + c.b <= 150; };
        auto paleBlue = [](arttest::Colour c) { return c.b >= 200 && c.b >= c.r + 20; };
        EXPECT_GT(countPixels(b, yellow), area / 12) << name;
        EXPECT_GT(countPixels(b, black), area / 12) << name;
        EXPECT_GT(countPixels(b, paleBlue), area / 20) << name;
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
    const char* file;
    std::vector<std::vector<long>> cells;
};

std::vector<Plane> planes() {
    std::vector<Plane> result;
    for (const auto& expected : planeLists()) result.push_back({expected.file, committedList(expected.file).rows});
    return result;
}

TEST(TileJoins, SeamMeasureCatchesMismatchedTiles) {
    // The hill's flat body next to the foot of a rising slope: green runs into nothing.
    std::string why;
    EXPECT_FALSE(joinsWithoutSeam(picture("121.BMP"), picture("119.BMP"), true, &why));
    // The top row of sky directly above the meadow.
    EXPECT_FALSE(joinsWithoutSeam(picture("051.BMP"), picture("124.BMP"), false, &why));
    // And passes a tile joined to itself only when it repeats seamlessly.
    EXPECT_TRUE(joinsWithoutSeam(picture("121.BMP"), picture("121.BMP"), true, &why)) << why;
}

TEST(TileJoins, RowsJoinIncludingTheWrap) {
    for (const auto& plane : planes())
        for (std::size_t r = 0; r < plane.cells.size(); ++r) {
            const auto& row = plane.cells[r];
            for (std::size_t c = 0; c < row.size(); ++c) {
                const long left = row[c], right = row[(c + 1) % row.size()];
                if (left == 0 || right == 0) continue;
                std::string why;
                EXPECT_TRUE(joinsWithoutSeam(picture(tileName(left)), picture(tileName(right)), true, &why))
                    << plane.file << " row " << r << " columns " << c << "|" << (c + 1) % row.size() << " (" << left
                    << "|" << right << "): " << why;
            }
        }
}

TEST(TileJoins, ColumnsJoinWhereBothCellsHaveTiles) {
    for (const auto& plane : planes())
        for (std::size_t r = 0; r + 1 < plane.cells.size(); ++r)
            for (std::size_t c = 0; c < plane.cells[r].size(); ++c) {
                const long top = plane.cells[r][c], bottom = plane.cells[r + 1][c];
                if (top == 0 || bottom == 0) continue;
                std::string why;
                EXPECT_TRUE(joinsWithoutSeam(picture(tileName(top)), picture(tileName(bottom)), false, &why))
                    << plane.file << " rows " << r << "|" << r + 1 << " column " << c << " (" << top << "/" << bottom
                    << "): " << why;
            }
}

int transparentInColumn(const Bitmap& b, int x) {
    int n = 0;
    for (int y = 0; y < 32; ++y) n += b.transparent(x, y);
    return n;
}

TEST(TileJoins, TilesBesideAnEmptyCellFadeIntoIt) {
    for (const auto& plane : planes())
        for (const auto& row : plane.cells)
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (row[c] == 0) continue;
                const Bitmap& b = picture(tileName(row[c]));
                if (row[(c + row.size() - 1) % row.size()] == 0) {
                    EXPECT_GE(transparentInColumn(b, 0), 30) << plane.file << " tile " << row[c] << " left edge";
                }
                if (row[(c + 1) % row.size()] == 0) {
                    EXPECT_GE(transparentInColumn(b, 31), 30) << plane.file << " tile " << row[c] << " right edge";
                }
            }
}

TEST(TileJoins, HillsStandOnTheMeadowWhereverTheyScroll) {
    // The middle plane moves over the still front plane, so any tile of the
    // hills' bottom row can come to rest on any tile of the meadow's top row.
    const auto middle = committedList("MIDLIST.txt").rows;
    const auto front = committedList("FORELIST.txt").rows;
    const std::size_t hillRow = 12, meadowRow = 13;
    for (long hill : std::set<long>(middle[hillRow].begin(), middle[hillRow].end()))
        for (long meadow : std::set<long>(front[meadowRow].begin(), front[meadowRow].end())) {
            ASSERT_NE(hill, 0);
            ASSERT_NE(meadow, 0);
            std::string why;
            EXPECT_TRUE(joinsWithoutSeam(picture(tileName(hill)), picture(tileName(meadow)), false, &why))
                << hill << " on " << meadow << ": " << why;
        }
}

// ---- Same bytes every time --------------------------------------------------------

std::vector<ff::Member> members(const Generated& g) {
    std::vector<ff::Member> m;
    for (const auto& [name, bytes] : g.files) m.push_back({name, bytes});
    return m;
}

TEST(Determinism, TwoGenerationsGiveTheSameBytes) {
    const Generated second = generate();
    ASSERT_EQ(second.files.size(), generated().files.size());
    for (const auto& [name, bytes] : generated().files) EXPECT_EQ(second.files.at(name), bytes) << name;
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(artgen::planeLists(second.art)[i].text, artgen::planeLists(generated().art)[i].text);
}

TEST(Determinism, TheBuiltArtFileIsTheGeneratedSet) {
    const auto built = arttest::readBytes(TE_ART_FILE);
    ASSERT_FALSE(built.empty()) << TE_ART_FILE;
    const auto expected = ff::buildArchive(members(generated()));
    ASSERT_TRUE(expected.ok()) << expected.error;
    EXPECT_TRUE(built == expected.bytes) << TE_ART_FILE << " differs from a fresh generation";
    // And the game finds its pictures in it, spelled as it asks for them.
    const auto view = arttest::readArchive(built);
    ASSERT_TRUE(view);
    for (const char* name : {"INIT.BMP", "ab0.BMP", "ab4.BMP", "mosca.bmp", "aviao1.bmp", "051.BMP", "123.BMP"})
        EXPECT_NE(arttest::findByBisection(*view, name), nullptr) << name;
}

}  // namespace
