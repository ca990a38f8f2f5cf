// Scrolling tile planes: endless maps of 32x32 tiles that wrap in both
// directions, each moved at its own parallax rate and drawn over the
// 640x480 logical screen.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "engine/bitmap.h"

namespace engine {

inline constexpr int32_t kTileSize = 32;
inline constexpr int32_t kTilePeriod = kTileSize * 65536;  // one tile in 16.16

// Tile number n (1..count) is tiles[n - 1]; the bitmaps belong to the
// bitmap list, the array to the tile list.
struct TileList {
    std::unique_ptr<const GfxBitmap*[]> tiles;
    uint16_t count = 0;
};

// Copies the first `count` entries of the game's bitmap set (slots past its
// end stay empty).  Running out of memory ends the program.
TileList* CreateTiles(std::span<const GfxBitmap* const> bitmaps, uint16_t count);
bool DestroyTiles(TileList* list);

// Position and speed operations take a mode.
enum PlaneMode : int32_t { kModeSet = 0, kModeAdd = 1, kModeAdvance = 2 };

struct PlaneData {
    std::unique_ptr<const GfxBitmap*[]> cells;  // row-major; nullptr = empty cell
    int32_t x = 0;                              // 16.16 pixels, 0 <= x < width * 32
    int32_t y = 0;
    uint16_t width = 0;                         // in tiles
    uint16_t height = 0;
    int32_t speedX = 0;                         // consumed by the next advance
    int32_t speedY = 0;
    uint16_t divisor = 1;                       // an advance moves by speed / divisor
};

class Plane {
public:
    // A width x height plane at (0, 0) with no speed.  False for an empty
    // plane, a divisor of 0, a side over 1023 tiles (the wrap period must
    // fit 16.16) or more than 65535 cells, and when memory is short.
    bool create(uint16_t width, uint16_t height, uint16_t divisor);

    // Reads the tile numbers of width x height cells from a list: unsigned
    // decimal numbers separated by runs of spaces, tabs, CR, LF or 'x'; 0 is
    // an empty cell.  Where the text ends, or at any other character, the
    // remaining cells are empty.
    bool readList(std::span<const char> text, uint16_t width, uint16_t height);
    // The same from the program's list resource of that name.
    bool readList(const char* resourceName, uint16_t width, uint16_t height);

    // Resolves every cell through the tile list; a number the list does not
    // hold (or a cell the read list did not cover) gives an empty cell.
    bool attachTiles(const TileList& tiles);

    bool moveX(int32_t value, int32_t mode);
    bool moveY(int32_t value, int32_t mode);
    bool setSpeedX(int32_t value, int32_t mode);
    bool setSpeedY(int32_t value, int32_t mode);

    // Draws the visible cells through gfxDrawBitmap: 21 x 16 cells are
    // visited, the first and last column (row) cut by the pixel offset.
    bool draw() const;

    // Frees everything; false when there was nothing.
    bool destroy();

    const PlaneData* data() const { return data_.get(); }
    // Tile number minus one of a cell as read from the list (-1: empty).
    int16_t tileNumber(size_t cell) const { return cell < tileCount_ ? tileNumbers_[cell] : int16_t{-1}; }

private:
    std::unique_ptr<PlaneData> data_;
    std::unique_ptr<int16_t[]> tileNumbers_;
    size_t tileCount_ = 0;
};

}  // namespace engine
