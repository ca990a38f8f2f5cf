// What the planes of every game share: cutting a painted picture into
// numbered tiles, the sky gradient and the list text.
#include "tools/artgen/scenery.h"

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/shapes.h"

#include <algorithm>

namespace artgen {
namespace {

using namespace colours;

constexpr int kVisibleRows = kScreenHeight / kTileSize;  // 15

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

void appendRow(std::string& text, const PlaneDesign& plane, int row, int width) {
    for (int column = 0; column < width; ++column) {
        if (column > 0) text += ' ';
        text += std::to_string(plane.cell(column, row));
    }
    text += '\n';
}

}  // namespace

std::vector<uint16_t> numberRange(uint16_t first, uint16_t last) {
    std::vector<uint16_t> numbers;
    for (uint16_t n = first; n <= last; ++n) numbers.push_back(n);
    return numbers;
}

void cutIntoTiles(const IndexedImage& picture, PlaneDesign& plane, std::vector<uint16_t> pool) {
    TileNumbering numbering(plane, std::move(pool));
    for (int row = 0; row < plane.listRows; ++row)
        for (int column = 0; column < plane.columns; ++column) {
            const IndexedImage tile = cropImage(picture, column * kTileSize, row * kTileSize, kTileSize, kTileSize);
            const bool empty = std::all_of(tile.pixels.begin(), tile.pixels.end(),
                                           [](uint8_t i) { return i == kTransparentIndex; });
            plane.cells.push_back(empty ? 0 : numbering.numberFor(tile));
        }
}

void paintSky(cairo_t* cr, double width, double height, double horizonY) {
    cairo_rectangle(cr, 0, 0, width, height);
    fillVertically(cr, 0, kSkyTop, horizonY, kSkyHorizon);
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
