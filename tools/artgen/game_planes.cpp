// The planes of the car, boat and girl games.  Pictures are painted on the
// tile grid with flat bands of colour, so that equal pieces repeat and each
// plane stays inside its tile numbers.
#include "tools/artgen/scenery.h"

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/shapes.h"

#include <cmath>
#include <vector>

namespace artgen {
namespace {

using namespace colours;

constexpr Rgb kLawn{104, 192, 74};
constexpr Rgb kAsphalt{70, 72, 80};
constexpr Rgb kKerb{168, 166, 170};
constexpr Rgb kRoadMark{255, 234, 110};
constexpr Rgb kFarSea{70, 150, 220};
constexpr Rgb kWaveSea{50, 115, 210};
constexpr Rgb kDeepSea{30, 85, 170};
constexpr Rgb kFoam{200, 230, 252};
constexpr Rgb kTrunk{112, 70, 36};

void fillBox(cairo_t* cr, double x, double y, double w, double h, Rgb colour) {
    cairo_rectangle(cr, x, y, w, h);
    setColour(cr, colour);
    cairo_fill(cr);
}

// A cloud inside a box of whole tiles, drawn again one plane width to the
// left so that one over the wrap shows on both sides.
void paintTileCloud(cairo_t* cr, int column, int row, int columns, int rows, int shape, int planeWidth) {
    for (double shift : {0.0, -static_cast<double>(planeWidth)})
        drawCloud(cr, column * kTileSize + shift, row * kTileSize, columns * kTileSize, rows * kTileSize, shape);
}

PlaneDesign planeFromPicture(const char* list, int columns, int planeRows, int listRows,
                             const IndexedImage& picture, std::vector<uint16_t> pool) {
    PlaneDesign plane{list, columns, planeRows, listRows, {}, {}};
    cutIntoTiles(picture, plane, std::move(pool));
    return plane;
}

std::vector<uint16_t> joined(std::initializer_list<std::vector<uint16_t>> parts) {
    std::vector<uint16_t> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// ---- the car's town ------------------------------------------------------------------

// Buildings stand on whole tile columns but their sides and tops lie inside
// the tiles, so no edge of the picture falls on a joint between tiles.
struct Building {
    int column, columns, topRow;
    Rgb wall;
};

constexpr int kTownColumns = 36, kTownRows = 16;
// The sky is plain from the highest roof down, so the sides of the
// buildings repeat from row to row.
constexpr double kTownHorizonY = 6 * kTileSize;
constexpr int kInset = 4, kParapetDrop = 10;
constexpr Building kBuildings[] = {
    {1, 3, 8, {250, 180, 30}},  {5, 2, 6, {150, 100, 220}}, {8, 3, 9, {130, 215, 215}},
    {12, 3, 7, {244, 120, 190}}, {16, 2, 8, {250, 180, 30}}, {19, 3, 6, {130, 215, 215}},
    {23, 2, 9, {150, 100, 220}}, {26, 3, 7, {255, 175, 70}}, {30, 2, 8, {244, 120, 190}},
    {33, 2, 6, {255, 175, 70}},
};

void paintBuilding(cairo_t* cr, const Building& b, int height) {
    const double left = b.column * kTileSize + kInset, right = (b.column + b.columns) * kTileSize - kInset;
    const double top = b.topRow * kTileSize + kParapetDrop;
    cairo_rectangle(cr, left, top, right - left, height - top);
    fillAndOutline(cr, b.wall, kOutline, 2);
    cairo_rectangle(cr, left - 2, top - 4, right - left + 4, 5);
    fillAndOutline(cr, kStone, kOutline, 1.5);  // the parapet
    for (int row = b.topRow + 1; row * kTileSize < height; ++row)
        for (int column = b.column; column < b.column + b.columns; ++column)
            for (double dx : {8.0, 18.0}) {
                cairo_rectangle(cr, column * kTileSize + dx, row * kTileSize + 8, 6, 12);
                fillAndOutline(cr, kBeeLight, kOutline, 1.0);
            }
}

IndexedImage paintTown() {
    const int width = kTownColumns * kTileSize, height = kTownRows * kTileSize;
    Canvas canvas(width, height);
    cairo_t* cr = canvas.cr();
    paintSky(cr, width, height, kTownHorizonY);
    paintTileCloud(cr, 9, 1, 3, 2, 0, width);
    paintTileCloud(cr, 27, 2, 3, 2, 2, width);
    for (const Building& b : kBuildings) paintBuilding(cr, b, height);
    return quantizeOpaque(canvas);
}

// ---- the car's road ----------------------------------------------------------------------

enum RoadTile : uint16_t { kKerbPlain = 51, kKerbDrain = 52, kKerbTuft = 53, kLaneDash = 54, kLaneGap = 55, kLaneManhole = 56 };

IndexedImage paintRoadTile(RoadTile kind) {
    Canvas canvas(kTileSize, kTileSize);
    cairo_t* cr = canvas.cr();
    fillBox(cr, 0, 0, kTileSize, kTileSize, kAsphalt);
    switch (kind) {
    case kKerbPlain:
    case kKerbDrain:
    case kKerbTuft:
        fillBox(cr, 0, 0, kTileSize, 7, kKerb);
        for (double x : {0.0, 16.0}) fillBox(cr, x, 0, 1, 7, kOutline);
        fillBox(cr, 0, 7, kTileSize, 1, kOutline);
        if (kind == kKerbDrain)
            for (double x = 9; x < 24; x += 3) fillBox(cr, x, 9, 1.5, 5, kOutline);
        if (kind == kKerbTuft)
            for (double dx : {-3.0, 0.0, 3.0}) strokeLine(cr, 22, 1, 22 + dx, -5, kGrassDark, 1.5);
        break;
    case kLaneDash: fillBox(cr, 4, 4, 24, 4, kRoadMark); break;
    case kLaneManhole: outlinedEllipse(cr, 16, 20, 8, 4, kTyre, kOutline, 1.2); break;
    case kLaneGap: break;
    }
    return quantizeOpaque(canvas);
}

// ---- the boat's sea and sky ------------------------------------------------------------------

constexpr int kSeaSkyColumns = 30, kSeaSkyRows = 16, kHorizonRow = 9;
constexpr double kSeaHorizonY = kHorizonRow * kTileSize + 20;
constexpr Rgb kHighSky{58, 124, 220}, kLowSky{150, 200, 244};

// A small island with a palm tree, standing on the horizon inside the row.
void paintIsland(cairo_t* cr, double left, double bottom) {
    cairo_new_path(cr);
    cairo_move_to(cr, left + 4, bottom);
    cairo_curve_to(cr, left + 16, bottom - 9, left + 48, bottom - 9, left + 60, bottom);
    cairo_close_path(cr);
    fillAndOutline(cr, kSoil, kSoilDark, 1.0);
    strokeLine(cr, left + 30, bottom - 5, left + 32, bottom - 12, kTrunk, 2);
    for (double a : {-2.6, -2.0, -1.1, -0.5})
        fillEllipse(cr, left + 32 + std::cos(a) * 4, bottom - 12 + std::sin(a) * 1.5, 5, 1.6, kGrassDark, a + 2.8);
}

// Only eleven tile numbers: a plain high sky, two rows fading to a plain
// low sky, the horizon row, plain sea with a few glints, a cloud and the
// island.
IndexedImage paintSeaSky() {
    const int width = kSeaSkyColumns * kTileSize, height = kSeaSkyRows * kTileSize;
    Canvas canvas(width, height);
    cairo_t* cr = canvas.cr();
    cairo_rectangle(cr, 0, 0, width, kSeaHorizonY);
    fillVertically(cr, 4 * kTileSize, kHighSky, 6 * kTileSize, kLowSky);
    cairo_rectangle(cr, 0, kSeaHorizonY, width, height - kSeaHorizonY);
    setColour(cr, kFarSea);
    cairo_fill(cr);
    paintTileCloud(cr, 20, 2, 2, 1, 0, width);
    paintIsland(cr, 10 * kTileSize, kSeaHorizonY);
    for (int column = 2; column < kSeaSkyColumns; column += 5)
        for (int row : {11, 13})
            strokeLine(cr, column * kTileSize + 10, row * kTileSize + 14, column * kTileSize + 22,
                       row * kTileSize + 14, kFoam, 2);
    return quantizeOpaque(canvas);
}

// The waves: a crest every 64 pixels over a band of water two rows deep.
constexpr int kWaveColumns = 26, kWavePlaneRows = 20, kWaveListRows = 15, kCrestRow = 11;

double waveTop(double x) { return kCrestRow * kTileSize + 14 - 7 * std::cos(2 * M_PI * x / 64); }

IndexedImage paintWaves() {
    const int width = kWaveColumns * kTileSize;
    Canvas canvas(width, kWaveListRows * kTileSize);
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    cairo_move_to(cr, 0, (kCrestRow + 2) * kTileSize);
    for (int x = 0; x <= width; ++x) cairo_line_to(cr, x, waveTop(x));
    cairo_line_to(cr, width, (kCrestRow + 2) * kTileSize);
    cairo_close_path(cr);
    setColour(cr, kWaveSea);
    cairo_fill(cr);
    for (int x = 0; x <= width; x += 64) fillEllipse(cr, x + 2, waveTop(0) + 3, 9, 2.5, kFoam);  // the last one over the wrap
    // A few fish under the surface, on whole tiles.
    for (int column : {5, 18})
        outlinedEllipse(cr, column * kTileSize + 16, (kCrestRow + 1) * kTileSize + 16, 7, 4, kOrange, kOutline, 1.0);
    return quantizeWithTransparency(canvas);
}

// The near sea along the bottom, in the bee's two-row pattern.
void paintNearSeaColumn(cairo_t* cr, int topKind, int bottomKind) {
    cairo_rectangle(cr, 0, 0, kTileSize, 2 * kTileSize);
    fillVertically(cr, 0, kWaveSea, 64, kDeepSea);
    for (double x : {0.0, 16.0}) strokeLine(cr, x + 3, 10, x + 11, 10, kFoam, 1.2);
    switch (topKind) {
    case 1: outlinedEllipse(cr, 16, 18, 7, 4, kOrange, kOutline, 1.0); break;
    case 2:
        for (int i = 0; i < 3; ++i) outlinedEllipse(cr, 10 + i * 5, 24 - i * 6, 2 + i * 0.5, 2 + i * 0.5, kWing, kWingEdge, 0.8);
        break;
    case 3: outlinedEllipse(cr, 16, 16, 6, 5, kPink, kOutline, 1.0); break;
    case 4: outlinedEllipse(cr, 14, 20, 6, 3.5, kBeeYellow, kOutline, 1.0); break;
    default: break;
    }
    switch (bottomKind) {
    case 1:  // a starfish
        for (int i = 0; i < 5; ++i) {
            const double a = -M_PI / 2 + i * 2 * M_PI / 5;
            strokeLine(cr, 16, 48, 16 + std::cos(a) * 7, 48 + std::sin(a) * 7, kOrange, 3);
        }
        break;
    case 2: outlinedEllipse(cr, 16, 50, 7, 5, kPink, kOutline, 1.0); break;
    case 3:
        for (int i = 0; i < 2; ++i) outlinedEllipse(cr, 10 + i * 12, 54 - i * 8, 2.5, 2.5, kWing, kWingEdge, 0.8);
        break;
    default: break;
    }
}

// ---- the girl's park -----------------------------------------------------------------------

constexpr int kParkColumns = 26, kParkRows = 16;
constexpr double kParkHorizonY = 10 * kTileSize + 10;  // inside a tile row: no joint on the edge

void paintTree(cairo_t* cr, int column, Rgb crown) {
    const double x = column * kTileSize;
    cairo_rectangle(cr, x + 26, kParkHorizonY - 40, 12, 44);
    fillAndOutline(cr, kTrunk, kOutline, 1.2);
    outlinedEllipse(cr, x + 32, kParkHorizonY - 60, 28, 24, crown, kGrassDark, 2);
}

IndexedImage paintPark() {
    const int width = kParkColumns * kTileSize, height = kParkRows * kTileSize;
    Canvas canvas(width, height);
    cairo_t* cr = canvas.cr();
    paintSky(cr, width, height, kParkHorizonY);  // plain below the horizon
    paintTileCloud(cr, 3, 1, 3, 2, 0, width);
    paintTileCloud(cr, 15, 2, 4, 2, 2, width);
    // A lighter lawn than the hedge in front of it.
    cairo_rectangle(cr, 0, kParkHorizonY, width, height - kParkHorizonY);
    setColour(cr, kGrassLight);
    cairo_fill(cr);
    for (int column : {1, 9, 20}) paintTree(cr, column, kHill);
    for (int column : {6, 14}) paintTree(cr, column, kHillShade);
    for (int column = 1; column < kParkColumns; column += 4)
        drawFlower(cr, column * kTileSize + 16, (11 + column % 3) * kTileSize + 16, 6, kPetalWhite, kFlowerCentre);
    return quantizeOpaque(canvas);
}

}  // namespace

PlaneDesign designTownPlane() {
    return planeFromPicture("BACKLIST", kTownColumns, kTownRows, kTownRows, paintTown(),
                            joined({numberRange(60, 108), {118}, numberRange(124, 159), {163, 164}}));
}

PlaneDesign designRoadPlane() {
    constexpr int kColumns = 30, kRows = 15, kKerbRow = 13, kLaneRow = 14;
    PlaneDesign plane{"FORELIST", kColumns, kRows, kRows, {}, {}};
    plane.cells.assign(static_cast<std::size_t>(kColumns) * kRows, 0);
    for (int column = 0; column < kColumns; ++column) {
        const RoadTile kerb = column % 10 == 4 ? kKerbDrain : column % 7 == 2 ? kKerbTuft : kKerbPlain;
        const RoadTile lane = column % 2 == 0 ? kLaneDash : column % 6 == 3 ? kLaneManhole : kLaneGap;
        plane.cells[kKerbRow * kColumns + column] = kerb;
        plane.cells[kLaneRow * kColumns + column] = lane;
    }
    for (RoadTile kind : {kKerbPlain, kKerbDrain, kKerbTuft, kLaneDash, kLaneGap, kLaneManhole})
        plane.tiles.emplace(static_cast<uint16_t>(kind), paintRoadTile(kind));
    return plane;
}

PlaneDesign designSeaSkyPlane() {
    return planeFromPicture("BACKLIST", kSeaSkyColumns, kSeaSkyRows, kSeaSkyRows, paintSeaSky(),
                            joined({numberRange(51, 59), {117, 118}}));
}

PlaneDesign designWavePlane() {
    return planeFromPicture("MIDLIST", kWaveColumns, kWavePlaneRows, kWaveListRows, paintWaves(), numberRange(119, 123));
}

PlaneDesign designNearSeaPlane() { return designFrontRows(30, paintNearSeaColumn); }

PlaneDesign designParkPlane() {
    return planeFromPicture("BACKLIST", kParkColumns, kParkRows, kParkRows, paintPark(),
                            joined({numberRange(51, 103), {118}, numberRange(139, 147)}));
}

PlaneDesign designLawnPlane() { return designFrontRows(26, paintMeadowColumn); }

}  // namespace artgen
