// The bee game's three scrolling planes and their tile lists.
//
// The screen is 20 x 15 tiles of 32 pixels.  The back plane (sky, clouds,
// far mountains) scrolls slowly, the middle plane (hills and flowers) fast,
// and the front plane (meadow and soil along the bottom two rows) stands
// still; the game draws the middle plane over the front one.  Every plane
// wraps, so each row's last column must join its first without a seam.
#pragma once

#include "tools/artgen/bmp.h"

#include <cairo.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace artgen {

inline constexpr int kTileSize = 32;
inline constexpr int kScreenWidth = 640, kScreenHeight = 480;

struct PlaneDesign {
    std::string listName;          // resource name, e.g. "BACKLIST"
    int columns = 0;               // plane width in tiles
    int planeRows = 0;             // plane height in tiles
    int listRows = 0;              // rows the list gives; the rest stay empty
    std::vector<uint16_t> cells;   // listRows x columns tile numbers, 0 = empty
    std::map<uint16_t, IndexedImage> tiles;

    uint16_t cell(int column, int row) const {
        return row < listRows ? cells[static_cast<std::size_t>(row) * columns + column] : 0;
    }
};

PlaneDesign designBackPlane();    // 20 x 16, tiles 51-110 and 118, no empty cell
PlaneDesign designMiddlePlane();  // 26 x 20 from 15 listed rows, tiles 119-123
PlaneDesign designFrontPlane();   // 30 x 15, tiles 124-138

// The list text: one plane row per line, numbers separated by spaces.
std::string listText(const PlaneDesign& plane);

// SURFLIST, which the game carries but never reads: 15 rows of 80 numbers,
// 1 where the front plane has ground.
std::string surfaceListText(const PlaneDesign& front);

// Sky gradient from the top of the picture down to the horizon line.
void paintSky(cairo_t* cr, double width, double height, double horizonY);

}  // namespace artgen
