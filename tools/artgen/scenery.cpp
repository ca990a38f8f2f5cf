#include "tools/artgen/scenery.h"

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/shapes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace artgen {
namespace {

using namespace colours;

constexpr int kVisibleRows = kScreenHeight / kTileSize;  // 15
constexpr double kHorizonY = 416;                        // top of the meadow

// ---- Cutting a picture into numbered tiles -------------------------------

IndexedImage crop(const IndexedImage& src, int x0, int y0) {
    IndexedImage tile(kTileSize, kTileSize);
    for (int y = 0; y < kTileSize; ++y)
        for (int x = 0; x < kTileSize; ++x) tile.at(x, y) = src.at(x0 + x, y0 + y);
    return tile;
}

// Identical pieces share one tile number, taken from the plane's pool in
// the order the pieces first appear.
class TileNumbering {
public:
    TileNumbering(PlaneDesign& plane, std::vector<uint16_t> pool) : plane_(plane), pool_(std::move(pool)) {}

    uint16_t numberFor(const IndexedImage& tile) {
        for (const auto& [number, existing] : plane_.tiles)
            if (existing.pixels == tile.pixels) return number;
        if (next_ == pool_.size())
            throw ArtError(plane_.listName + " needs more than its " + std::to_string(pool_.size()) +
                           " tile numbers; simplify the design");
        const uint16_t number = pool_[next_++];
        plane_.tiles.emplace(number, tile);
        return number;
    }

private:
    PlaneDesign& plane_;
    std::vector<uint16_t> pool_;
    std::size_t next_ = 0;
};

std::vector<uint16_t> numberRange(uint16_t first, uint16_t last) {
    std::vector<uint16_t> numbers;
    for (uint16_t n = first; n <= last; ++n) numbers.push_back(n);
    return numbers;
}

void cutIntoTiles(const IndexedImage& picture, PlaneDesign& plane, std::vector<uint16_t> pool) {
    TileNumbering numbering(plane, std::move(pool));
    for (int row = 0; row < plane.listRows; ++row)
        for (int column = 0; column < plane.columns; ++column)
            plane.cells.push_back(numbering.numberFor(crop(picture, column * kTileSize, row * kTileSize)));
}

// ---- Back plane: sky, clouds, far mountains ------------------------------

constexpr int kBackColumns = 20, kBackRows = 16;
constexpr double kMountainPeriod = 320;  // two ranges across the plane

// Kept between y 258 and 318 (tile rows 8 and 9) so the outline costs few
// tiles; the period divides the plane width so the range wraps.
double mountainTop(double x) {
    const double t = 2 * M_PI * x / kMountainPeriod;
    return 288 - 17 * std::sin(t + 0.6) - 9 * std::sin(3 * t + 1.7) - 3.5 * std::sin(7 * t + 0.3);
}

void mountainOutline(cairo_t* cr, double bottomY) {
    cairo_new_path(cr);
    cairo_move_to(cr, -2, bottomY);
    for (int x = -2; x <= kMountainPeriod + 2; ++x) cairo_line_to(cr, x, mountainTop(x));
    cairo_line_to(cr, kMountainPeriod + 2, bottomY);
    cairo_close_path(cr);
}

// Pale caps on the high peaks: the band just under the outline, above y 276.
void mountainCaps(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, -2, mountainTop(-2));
    for (int x = -2; x <= kMountainPeriod + 2; ++x) cairo_line_to(cr, x, mountainTop(x));
    for (int x = static_cast<int>(kMountainPeriod) + 2; x >= -2; --x) {
        const double top = mountainTop(x);
        cairo_line_to(cr, x, std::max(top, std::min(top + 9, 276.0)));
    }
    cairo_close_path(cr);
}

void paintMountainRange(Canvas& range) {
    cairo_t* cr = range.cr();
    mountainOutline(cr, range.height());
    cairo_pattern_t* haze = cairo_pattern_create_linear(0, 260, 0, kHorizonY);
    cairo_pattern_add_color_stop_rgb(haze, 0, kMountain.r / 255.0, kMountain.g / 255.0, kMountain.b / 255.0);
    cairo_pattern_add_color_stop_rgb(haze, 1, kMountainHaze.r / 255.0, kMountainHaze.g / 255.0,
                                     kMountainHaze.b / 255.0);
    cairo_set_source(cr, haze);
    cairo_fill(cr);
    cairo_pattern_destroy(haze);
    mountainCaps(cr);
    setColour(cr, kMountainCap);
    cairo_fill(cr);
}

struct CloudPlace {
    int column, row, columns, rows;  // the tile box the cloud stays inside
    int shape;
};

constexpr CloudPlace kClouds[] = {{1, 1, 3, 2, 0}, {7, 3, 4, 2, 1}, {13, 1, 3, 2, 2}, {18, 4, 3, 2, 1}};

void paintClouds(cairo_t* cr, double planeWidth) {
    for (const auto& c : kClouds)
        for (double shift : {0.0, -planeWidth})  // a cloud over the wrap shows on both sides
            drawCloud(cr, c.column * kTileSize + shift, c.row * kTileSize, c.columns * kTileSize,
                      c.rows * kTileSize, c.shape);
}

IndexedImage paintBackPicture() {
    const int width = kBackColumns * kTileSize, height = kBackRows * kTileSize;
    Canvas canvas(width, height);
    cairo_t* cr = canvas.cr();
    paintSky(cr, width, height, kHorizonY);
    Canvas range(static_cast<int>(kMountainPeriod), height);
    paintMountainRange(range);
    // Whole-pixel offsets copy the range exactly, so its tiles repeat.
    for (int x = 0; x < width; x += static_cast<int>(kMountainPeriod)) {
        cairo_set_source_surface(cr, range.surface(), x, 0);
        cairo_paint(cr);
    }
    paintClouds(cr, width);
    return quantizeOpaque(canvas);
}

// ---- Middle plane: rolling hills with flowers ----------------------------

enum class HillTile : uint16_t { Rise = 119, Fall = 120, Body = 121, Daisy = 122, Bloom = 123 };

constexpr int kMiddleColumns = 26, kMiddlePlaneRows = 20, kMiddleListRows = 15;
constexpr int kHillBaseRow = 12;  // the row just above the meadow

// Hill height, in tiles, at the left edge of each column; the last column
// climbs or falls back to the first one's height, so the range wraps.
constexpr std::array<int, kMiddleColumns> kHillHeights = {1, 2, 2, 3, 2, 1, 1, 2, 3, 3, 2, 1, 2,
                                                          1, 1, 2, 2, 3, 3, 2, 2, 1, 1, 1, 2, 1};

// A slope climbs one tile, steep in the middle and gentle at both ends:
// two slopes meet in a soft top, a slope eases onto a flat hilltop, and
// slopes stacked into a taller hill keep only a slight shoulder.
double riseTop(double x) {
    constexpr double kEase = 0.7;  // 0 a straight 45-degree slope, 1 level ends
    const double t = x / kTileSize;
    return kTileSize * (1 - (t - kEase * std::sin(2 * M_PI * t) / (2 * M_PI)));
}

void paintSlope(cairo_t* cr, bool rising) {
    setColour(cr, kHill);
    for (int x = 0; x < kTileSize; ++x) {
        const double centre = x + 0.5;
        const double top = riseTop(rising ? centre : kTileSize - centre);
        const int firstRow = static_cast<int>(std::ceil(top - 0.5));
        if (firstRow < kTileSize) cairo_rectangle(cr, x, firstRow, 1, kTileSize - firstRow);
    }
    cairo_fill(cr);
}

void paintTuft(cairo_t* cr, double x, double y) {
    for (double dx : {-2.5, 0.0, 2.5}) strokeLine(cr, x, y + 4, x + dx, y, kHillShade, 1.2);
}

void paintBody(cairo_t* cr, bool tufts) {
    cairo_rectangle(cr, 0, 0, kTileSize, kTileSize);
    setColour(cr, kHill);
    cairo_fill(cr);
    if (tufts) {
        paintTuft(cr, 8, 6);
        paintTuft(cr, 23, 20);
    }
}

void paintStemmedFlower(cairo_t* cr, double x, double y, double radius, Rgb petals, Rgb centre) {
    strokeLine(cr, x, y, x, y + 12, kGrassDark, 1.6);
    fillEllipse(cr, x + 3.5, y + 9, 3.2, 1.5, kGrassDark, -0.5);
    drawFlower(cr, x, y, radius, petals, centre);
}

IndexedImage paintHillTile(HillTile kind) {
    Canvas canvas(kTileSize, kTileSize);
    cairo_t* cr = canvas.cr();
    switch (kind) {
        case HillTile::Rise: paintSlope(cr, true); break;
        case HillTile::Fall: paintSlope(cr, false); break;
        case HillTile::Body: paintBody(cr, true); break;
        case HillTile::Daisy:
            paintBody(cr, false);
            paintStemmedFlower(cr, 15, 12, 9, kPetalWhite, kFlowerCentre);
            break;
        case HillTile::Bloom:
            paintBody(cr, false);
            paintStemmedFlower(cr, 16, 12, 9, kPink, kBeeYellow);
            break;
    }
    return quantizeWithTransparency(canvas);
}

// Some of the hills' body tiles carry a flower, spread without a pattern
// the eye would catch.
HillTile bodyTileAt(int column, int level) {
    if ((column * 3 + level * 2) % 5 != 0) return HillTile::Body;
    return (column / 3 + level) % 2 == 0 ? HillTile::Daisy : HillTile::Bloom;
}

void setCell(PlaneDesign& plane, int column, int row, HillTile tile) {
    plane.cells[static_cast<std::size_t>(row) * plane.columns + column] = static_cast<uint16_t>(tile);
}

void layOutHills(PlaneDesign& plane) {
    for (int column = 0; column < kMiddleColumns; ++column) {
        const int left = kHillHeights[column];
        const int right = kHillHeights[(column + 1) % kMiddleColumns];
        const int flat = std::min(left, right);
        for (int level = 1; level <= flat; ++level)
            setCell(plane, column, kHillBaseRow + 1 - level, bodyTileAt(column, level));
        if (left != right)
            setCell(plane, column, kHillBaseRow - flat, left < right ? HillTile::Rise : HillTile::Fall);
    }
}

// ---- Front plane: meadow and soil along the bottom -----------------------

constexpr int kFrontColumns = 30, kFrontRows = 15;
constexpr int kMeadowRow = 13, kSoilRow = 14;

enum class Meadow { Plain, Poppies, Mushroom, Violets, Dandelions, Count };
enum class Soil { Plain, Stones, Pebbles, Snail, Count };

constexpr uint16_t kFirstMeadowTile = 124;
constexpr uint16_t kFirstSoilTile = kFirstMeadowTile + static_cast<uint16_t>(Meadow::Count);

constexpr std::array<int, kFrontColumns> kMeadowSequence = {0, 0, 1, 0, 0, 0, 2, 0, 0, 3, 0, 0, 0, 4, 0,
                                                            0, 1, 0, 0, 0, 3, 0, 0, 2, 0, 0, 4, 0, 0, 0};
constexpr std::array<int, kFrontColumns> kSoilSequence = {0, 1, 0, 0, 2, 0, 0, 0, 3, 0, 0, 1, 0, 0, 0,
                                                          2, 0, 0, 1, 0, 0, 0, 2, 0, 0, 3, 0, 0, 0, 2};

// Grass blades repeat every tile width, so any two meadow tiles join; each
// blade is drawn again one tile to each side to fill the wrap.
struct Blade {
    double x, height, lean;
    bool light;
};

constexpr Blade kBlades[] = {
    {2, 22, 3, false}, {7, 27, -2, true},  {11, 20, 2, false}, {16, 25, 3, true},
    {20, 29, -3, false}, {25, 21, 2, true}, {29, 26, -2, false},
};

void paintBlade(cairo_t* cr, const Blade& b, double baseY) {
    cairo_new_path(cr);
    cairo_move_to(cr, b.x - 1.6, baseY);
    cairo_curve_to(cr, b.x - 1, baseY - b.height * 0.5, b.x + b.lean * 0.6, baseY - b.height * 0.8, b.x + b.lean,
                   baseY - b.height);
    cairo_curve_to(cr, b.x + b.lean * 0.4, baseY - b.height * 0.7, b.x + 1, baseY - b.height * 0.4, b.x + 1.6,
                   baseY);
    cairo_close_path(cr);
    setColour(cr, b.light ? kGrassLight : kGrassDark);
    cairo_fill(cr);
}

double soilEdge(double x) { return 44 + 2.5 * std::sin(2 * M_PI * x * 2 / kTileSize); }

// The two-tile column every front variant starts from: meadow on top
// (its top row in the hills' green, so the hills stand on it), soil below.
void paintMeadowAndSoil(cairo_t* cr) {
    cairo_pattern_t* green = cairo_pattern_create_linear(0, 0, 0, 48);
    cairo_pattern_add_color_stop_rgb(green, 0, kHill.r / 255.0, kHill.g / 255.0, kHill.b / 255.0);
    cairo_pattern_add_color_stop_rgb(green, 1, kMeadowDeep.r / 255.0, kMeadowDeep.g / 255.0, kMeadowDeep.b / 255.0);
    cairo_rectangle(cr, 0, 0, kTileSize, 2 * kTileSize);
    cairo_set_source(cr, green);
    cairo_fill(cr);
    cairo_pattern_destroy(green);

    cairo_new_path(cr);
    cairo_move_to(cr, 0, 2 * kTileSize);
    for (int x = 0; x <= kTileSize; ++x) cairo_line_to(cr, x, soilEdge(x));
    cairo_line_to(cr, kTileSize, 2 * kTileSize);
    cairo_close_path(cr);
    cairo_pattern_t* soil = cairo_pattern_create_linear(0, 42, 0, 64);
    cairo_pattern_add_color_stop_rgb(soil, 0, kSoil.r / 255.0, kSoil.g / 255.0, kSoil.b / 255.0);
    cairo_pattern_add_color_stop_rgb(soil, 1, kSoilDeep.r / 255.0, kSoilDeep.g / 255.0, kSoilDeep.b / 255.0);
    cairo_set_source(cr, soil);
    cairo_fill(cr);
    cairo_pattern_destroy(soil);
    for (const auto& speck : {std::array<double, 2>{6, 55}, {19, 51}, {27, 59}, {12, 61}})
        fillEllipse(cr, speck[0], speck[1], 1.4, 1.0, kSoilDark);

    for (double shift : {-kTileSize * 1.0, 0.0, kTileSize * 1.0})
        for (Blade b : kBlades) {
            b.x += shift;
            paintBlade(cr, b, 34);
            b.x += 4;
            b.height *= 0.5;
            paintBlade(cr, b, soilEdge(b.x) + 2);
        }
}

void paintMushroom(cairo_t* cr, double x, double y) {
    cairo_new_path(cr);
    cairo_rectangle(cr, x - 3, y, 6, 9);
    fillAndOutline(cr, kMushroomStem, kOutline, 1.0);
    cairo_new_path(cr);
    cairo_arc(cr, x, y + 1, 8, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    fillAndOutline(cr, kRed, kOutline, 1.2);
    for (const auto& dot : {std::array<double, 2>{-4, -2}, {1, -5}, {4, -1}})
        fillEllipse(cr, x + dot[0], y + dot[1], 1.3, 1.1, kPetalWhite);
}

void paintMeadowDecoration(cairo_t* cr, Meadow kind) {
    switch (kind) {
        case Meadow::Plain: break;
        case Meadow::Poppies:
            paintStemmedFlower(cr, 10, 12, 6.5, kRed, kOutline);
            paintStemmedFlower(cr, 22, 16, 5.5, kRed, kOutline);
            break;
        case Meadow::Mushroom: paintMushroom(cr, 16, 19); break;
        case Meadow::Violets:
            paintStemmedFlower(cr, 9, 15, 5.5, kPurple, kBeeLight);
            paintStemmedFlower(cr, 20, 11, 6.5, kPurple, kBeeLight);
            break;
        case Meadow::Dandelions:
            paintStemmedFlower(cr, 12, 12, 6.5, kBeeYellow, kOrange);
            paintStemmedFlower(cr, 23, 16, 5.0, kBeeYellow, kOrange);
            break;
        case Meadow::Count: break;
    }
}

void paintSnail(cairo_t* cr, double x, double y) {
    outlinedEllipse(cr, x, y + 4, 8, 2.6, kSnailBody, kOutline, 1.0);
    outlinedEllipse(cr, x - 1, y - 1, 5.5, 5.5, kOrange, kOutline, 1.1);
    cairo_new_path(cr);
    cairo_arc(cr, x - 1, y - 1, 2.6, 0, 1.6 * M_PI);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    strokeLine(cr, x + 6, y + 2, x + 8, y - 3, kOutline, 0.9);
    fillEllipse(cr, x + 8, y - 3.5, 1.0, 1.0, kOutline);
}

void paintSoilDecoration(cairo_t* cr, Soil kind) {
    switch (kind) {
        case Soil::Plain: break;
        case Soil::Stones:
            outlinedEllipse(cr, 10, 56, 6, 4, kStone, kSoilDark, 1.0);
            outlinedEllipse(cr, 21, 58, 4, 3, kStoneLight, kSoilDark, 1.0);
            break;
        case Soil::Pebbles:
            for (const auto& p : {std::array<double, 3>{8, 54, 2.5}, {15, 59, 2.0}, {23, 55, 3.0}})
                outlinedEllipse(cr, p[0], p[1], p[2], p[2] * 0.8, kStoneLight, kSoilDark, 0.8);
            break;
        case Soil::Snail: paintSnail(cr, 16, 55); break;
        case Soil::Count: break;
    }
}

IndexedImage paintFrontColumn(Meadow meadow, Soil soil) {
    Canvas canvas(kTileSize, 2 * kTileSize);
    paintMeadowAndSoil(canvas.cr());
    paintMeadowDecoration(canvas.cr(), meadow);
    paintSoilDecoration(canvas.cr(), soil);
    return quantizeWithTransparency(canvas);
}

void addFrontTiles(PlaneDesign& plane) {
    for (int m = 0; m < static_cast<int>(Meadow::Count); ++m)
        plane.tiles.emplace(kFirstMeadowTile + m, crop(paintFrontColumn(Meadow(m), Soil::Plain), 0, 0));
    for (int s = 0; s < static_cast<int>(Soil::Count); ++s)
        plane.tiles.emplace(kFirstSoilTile + s, crop(paintFrontColumn(Meadow::Plain, Soil(s)), 0, kTileSize));
}

void appendRow(std::string& text, const PlaneDesign& plane, int row, int width) {
    for (int column = 0; column < width; ++column) {
        if (column > 0) text += ' ';
        text += std::to_string(plane.cell(column, row));
    }
    text += '\n';
}

}  // namespace

void paintSky(cairo_t* cr, double width, double height, double horizonY) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, horizonY);
    cairo_pattern_add_color_stop_rgb(sky, 0, kSkyTop.r / 255.0, kSkyTop.g / 255.0, kSkyTop.b / 255.0);
    cairo_pattern_add_color_stop_rgb(sky, 1, kSkyHorizon.r / 255.0, kSkyHorizon.g / 255.0, kSkyHorizon.b / 255.0);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
}

PlaneDesign designBackPlane() {
    PlaneDesign plane{"BACKLIST", kBackColumns, kBackRows, kBackRows, {}, {}};
    std::vector<uint16_t> pool = numberRange(51, 110);
    pool.push_back(118);
    cutIntoTiles(paintBackPicture(), plane, std::move(pool));
    return plane;
}

PlaneDesign designMiddlePlane() {
    PlaneDesign plane{"MIDLIST", kMiddleColumns, kMiddlePlaneRows, kMiddleListRows, {}, {}};
    plane.cells.assign(static_cast<std::size_t>(kMiddleColumns) * kMiddleListRows, 0);
    layOutHills(plane);
    for (auto kind : {HillTile::Rise, HillTile::Fall, HillTile::Body, HillTile::Daisy, HillTile::Bloom})
        plane.tiles.emplace(static_cast<uint16_t>(kind), paintHillTile(kind));
    return plane;
}

PlaneDesign designFrontPlane() {
    PlaneDesign plane{"FORELIST", kFrontColumns, kFrontRows, kFrontRows, {}, {}};
    plane.cells.assign(static_cast<std::size_t>(kFrontColumns) * kFrontRows, 0);
    for (int column = 0; column < kFrontColumns; ++column) {
        plane.cells[kMeadowRow * kFrontColumns + column] =
            static_cast<uint16_t>(kFirstMeadowTile + kMeadowSequence[column]);
        plane.cells[kSoilRow * kFrontColumns + column] = static_cast<uint16_t>(kFirstSoilTile + kSoilSequence[column]);
    }
    addFrontTiles(plane);
    return plane;
}

std::string listText(const PlaneDesign& plane) {
    std::string text;
    for (int row = 0; row < plane.listRows; ++row) appendRow(text, plane, row, plane.columns);
    return text;
}

std::string surfaceListText(const PlaneDesign& front) {
    constexpr int kSurfaceColumns = 80;
    std::string text;
    for (int row = 0; row < kVisibleRows; ++row) {
        const bool ground = front.cell(0, row) != 0;
        for (int column = 0; column < kSurfaceColumns; ++column) {
            if (column > 0) text += ' ';
            text += ground ? '1' : '0';
        }
        text += '\n';
    }
    return text;
}

}  // namespace artgen
