// The back plane: sky, four clouds and two ranges of far mountains,
// painted as one picture that wraps and then cut into tiles.
#include "tools/artgen/scenery.h"

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/shapes.h"

#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

using namespace colours;

constexpr int kBackColumns = 20, kBackRows = 16;
constexpr double kHorizonY = 416;        // where the meadow hides the rest
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
    cairo_line_to(cr, kMountainPeriod + 2, bottomY);  // a little past both ends: the joins antialias alike
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
    fillVertically(cr, 260, kMountain, kHorizonY, kMountainHaze);  // hazier towards the ground
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

}  // namespace

PlaneDesign designBackPlane() {
    PlaneDesign plane{"BACKLIST", kBackColumns, kBackRows, kBackRows, {}, {}};
    std::vector<uint16_t> pool = numberRange(51, 110);
    pool.push_back(118);
    cutIntoTiles(paintBackPicture(), plane, std::move(pool));
    return plane;
}

}  // namespace artgen
