// The middle planes of the bee and the girl: rolling hills (or a low
// garden hedge) with flowers, laid out from five tiles (a rising and a
// falling slope, the plain body and two with a flower) that join by
// construction.
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

enum class HillTile : uint16_t { Rise = 119, Fall = 120, Body = 121, Daisy = 122, Bloom = 123 };

constexpr int kMiddleColumns = 26, kMiddlePlaneRows = 20, kMiddleListRows = 15;
constexpr int kHillBaseRow = 12;  // the row just above the meadow

using Heights = std::array<int, kMiddleColumns>;

// Hill height, in tiles, at the left edge of each column; the last column
// climbs or falls back to the first one's height, so the range wraps.
constexpr Heights kHillHeights = {1, 2, 2, 3, 2, 1, 1, 2, 3, 3, 2, 1, 2, 1, 1, 2, 2, 3, 3, 2, 2, 1, 1, 1, 2, 1};
// The hedge keeps low, so the park shows behind it.
constexpr Heights kHedgeHeights = {1, 1, 2, 2, 1, 1, 1, 2, 1, 1, 2, 2, 2, 1, 1, 1, 2, 1, 1, 2, 2, 1, 1, 2, 2, 1};

struct FlowerColours {
    Rgb petals, centre;
};
struct HillStyle {
    const Heights& heights;
    FlowerColours daisy, bloom;
};
constexpr HillStyle kHills{kHillHeights, {kPetalWhite, kFlowerCentre}, {kPink, kBeeYellow}};
constexpr HillStyle kHedge{kHedgeHeights, {kRed, kBeeYellow}, {kBeeYellow, kOrange}};

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

IndexedImage paintHillTile(HillTile kind, const HillStyle& style) {
    Canvas canvas(kTileSize, kTileSize);
    cairo_t* cr = canvas.cr();
    switch (kind) {
        case HillTile::Rise: paintSlope(cr, true); break;
        case HillTile::Fall: paintSlope(cr, false); break;
        case HillTile::Body: paintBody(cr, true); break;
        case HillTile::Daisy:
            paintBody(cr, false);
            drawStemmedFlower(cr, 15, 12, 9, style.daisy.petals, style.daisy.centre);
            break;
        case HillTile::Bloom:
            paintBody(cr, false);
            drawStemmedFlower(cr, 16, 12, 9, style.bloom.petals, style.bloom.centre);
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

void layOutHills(PlaneDesign& plane, const Heights& heights) {
    for (int column = 0; column < kMiddleColumns; ++column) {
        const int left = heights[column];
        const int right = heights[(column + 1) % kMiddleColumns];
        const int flat = std::min(left, right);
        for (int level = 1; level <= flat; ++level)
            setCell(plane, column, kHillBaseRow + 1 - level, bodyTileAt(column, level));
        if (left != right)
            setCell(plane, column, kHillBaseRow - flat, left < right ? HillTile::Rise : HillTile::Fall);
    }
}

PlaneDesign designHills(const HillStyle& style) {
    PlaneDesign plane{"MIDLIST", kMiddleColumns, kMiddlePlaneRows, kMiddleListRows, {}, {}};
    plane.cells.assign(static_cast<std::size_t>(kMiddleColumns) * kMiddleListRows, 0);
    layOutHills(plane, style.heights);
    for (auto kind : {HillTile::Rise, HillTile::Fall, HillTile::Body, HillTile::Daisy, HillTile::Bloom})
        plane.tiles.emplace(static_cast<uint16_t>(kind), paintHillTile(kind, style));
    return plane;
}

}  // namespace

PlaneDesign designMiddlePlane() { return designHills(kHills); }
PlaneDesign designHedgePlane() { return designHills(kHedge); }

}  // namespace artgen
