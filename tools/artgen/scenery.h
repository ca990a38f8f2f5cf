// The games' three scrolling planes and their tile lists.
//
// The screen is 20 x 15 tiles of 32 pixels.  The back plane (sky and the
// far scenery) scrolls slowly, the middle plane (hills, hedges or waves)
// fast, and the front plane (the bottom two rows) stands still except
// for the car's road.  Every plane wraps, so each row's last column must
// join its first without a seam.
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

// The tiles of a painted picture, row by row: equal pieces share one
// number from `pool`, fully transparent pieces are empty cells.  Throws
// ArtError when the pool runs out.
void cutIntoTiles(const IndexedImage& picture, PlaneDesign& plane, std::vector<uint16_t> pool);
std::vector<uint16_t> numberRange(uint16_t first, uint16_t last);

// The bee's meadow.
PlaneDesign designBackPlane();    // 20 x 16, tiles 51-110 and 118, no empty cell
PlaneDesign designMiddlePlane();  // 26 x 20 from 15 listed rows, tiles 119-123
PlaneDesign designFrontPlane();   // 30 x 15, tiles 124-138

// The two rows along the bottom: a top row of five kinds of tile (0 the
// plain one) and a bottom row of four, in the bee's sequence when
// `columns` is 30.  `paint` draws the 32 x 64 column for one pair of
// kinds; the top and bottom halves are cut from it.
using FrontColumnPainter = void (*)(cairo_t* cr, int topKind, int bottomKind);
PlaneDesign designFrontRows(int columns, FrontColumnPainter paint);
void paintMeadowColumn(cairo_t* cr, int meadowKind, int soilKind);  // the bee's

// The car's town and road.
PlaneDesign designTownPlane();  // 36 x 16, tiles 60-108, 118, 124-159, 163, 164
PlaneDesign designRoadPlane();  // 30 x 15, tiles 51-58, 160, 161

// The boat's sea.
PlaneDesign designSeaSkyPlane();  // 30 x 16, tiles 51-59, 117, 118
PlaneDesign designWavePlane();    // 26 x 20 from 15 listed rows, tiles 119-123
PlaneDesign designNearSeaPlane(); // the bee's front list with sea tiles

// The girl's park.
PlaneDesign designParkPlane();   // 26 x 16, tiles 51-103, 118, 139-147
PlaneDesign designHedgePlane();  // 26 x 20 from 15 listed rows, tiles 119-123
PlaneDesign designLawnPlane();   // 26 x 15, tiles 124-138

// The list text: one plane row per line, numbers separated by spaces.
std::string listText(const PlaneDesign& plane);

// SURFLIST, which the game carries but never reads: 15 rows of 80 numbers,
// 1 where the front plane has ground.
std::string surfaceListText(const PlaneDesign& front);

// Sky gradient from the top of the picture down to the horizon line.
void paintSky(cairo_t* cr, double width, double height, double horizonY);

}  // namespace artgen
