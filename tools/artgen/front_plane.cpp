// The front planes' two bottom rows, and the bee's: meadow and soil.  It
// never scrolls, and the hills pass over its top edge.
#include "tools/artgen/scenery.h"

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/shapes.h"

#include <array>
#include <cmath>

namespace artgen {
namespace {

using namespace colours;

constexpr int kFrontRows = 15;
constexpr int kMeadowRow = 13, kSoilRow = 14;

enum class Meadow { Plain, Poppies, Mushroom, Violets, Dandelions, Count };
enum class Soil { Plain, Stones, Pebbles, Snail, Count };

constexpr uint16_t kFirstMeadowTile = 124;
constexpr uint16_t kFirstSoilTile = kFirstMeadowTile + static_cast<uint16_t>(Meadow::Count);

constexpr std::array<int, 30> kMeadowSequence = {0, 0, 1, 0, 0, 0, 2, 0, 0, 3, 0, 0, 0, 4, 0,
                                                            0, 1, 0, 0, 0, 3, 0, 0, 2, 0, 0, 4, 0, 0, 0};
constexpr std::array<int, 30> kSoilSequence = {0, 1, 0, 0, 2, 0, 0, 0, 3, 0, 0, 1, 0, 0, 0,
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
    cairo_rectangle(cr, 0, 0, kTileSize, 2 * kTileSize);
    fillVertically(cr, 0, kHill, 48, kMeadowDeep);

    cairo_new_path(cr);
    cairo_move_to(cr, 0, 2 * kTileSize);
    for (int x = 0; x <= kTileSize; ++x) cairo_line_to(cr, x, soilEdge(x));
    cairo_line_to(cr, kTileSize, 2 * kTileSize);
    cairo_close_path(cr);
    fillVertically(cr, 42, kSoil, 64, kSoilDeep);
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
            drawStemmedFlower(cr, 10, 12, 6.5, kRed, kOutline);
            drawStemmedFlower(cr, 22, 16, 5.5, kRed, kOutline);
            break;
        case Meadow::Mushroom: paintMushroom(cr, 16, 19); break;
        case Meadow::Violets:
            drawStemmedFlower(cr, 9, 15, 5.5, kPurple, kBeeLight);
            drawStemmedFlower(cr, 20, 11, 6.5, kPurple, kBeeLight);
            break;
        case Meadow::Dandelions:
            drawStemmedFlower(cr, 12, 12, 6.5, kBeeYellow, kOrange);
            drawStemmedFlower(cr, 23, 16, 5.0, kBeeYellow, kOrange);
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

IndexedImage paintFrontColumn(FrontColumnPainter paint, int top, int bottom) {
    Canvas canvas(kTileSize, 2 * kTileSize);
    paint(canvas.cr(), top, bottom);
    return quantizeWithTransparency(canvas);
}

void addFrontTiles(PlaneDesign& plane, FrontColumnPainter paint) {
    for (int m = 0; m < static_cast<int>(Meadow::Count); ++m)
        plane.tiles.emplace(kFirstMeadowTile + m, cropImage(paintFrontColumn(paint, m, 0), 0, 0, kTileSize, kTileSize));
    for (int s = 0; s < static_cast<int>(Soil::Count); ++s)
        plane.tiles.emplace(kFirstSoilTile + s,
                            cropImage(paintFrontColumn(paint, 0, s), 0, kTileSize, kTileSize, kTileSize));
}

}  // namespace

void paintMeadowColumn(cairo_t* cr, int meadowKind, int soilKind) {
    paintMeadowAndSoil(cr);
    paintMeadowDecoration(cr, Meadow(meadowKind));
    paintSoilDecoration(cr, Soil(soilKind));
}

PlaneDesign designFrontRows(int columns, FrontColumnPainter paint) {
    if (columns > static_cast<int>(kMeadowSequence.size())) throw ArtError("the front rows are at most 30 tiles wide");
    PlaneDesign plane{"FORELIST", columns, kFrontRows, kFrontRows, {}, {}};
    plane.cells.assign(static_cast<std::size_t>(columns) * kFrontRows, 0);
    for (int column = 0; column < columns; ++column) {
        plane.cells[kMeadowRow * columns + column] = static_cast<uint16_t>(kFirstMeadowTile + kMeadowSequence[column]);
        plane.cells[kSoilRow * columns + column] = static_cast<uint16_t>(kFirstSoilTile + kSoilSequence[column]);
    }
    addFrontTiles(plane, paint);
    return plane;
}

PlaneDesign designFrontPlane() { return designFrontRows(30, paintMeadowColumn); }

}  // namespace artgen
