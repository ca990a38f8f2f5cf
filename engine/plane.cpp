#include "engine/plane.h"

#include <new>

#include "engine/blit.h"
#include "engine/mapped_file.h"
#include "engine/trace.h"

namespace engine {
namespace {

constexpr uint16_t kMaxPlaneSide = 1023;  // 1023 tiles of 32 pixels still fit 16.16
constexpr size_t kMaxCells = 65535;
constexpr int32_t kVisibleColumns = 640 / kTileSize + 1;  // 21
constexpr int32_t kVisibleRows = 480 / kTileSize + 1;     // 16

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 'x'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Positions stay inside one period whatever is asked of them, so drawing
// never sees a negative or oversized coordinate.
int32_t wrapInto(int64_t value, int64_t period) {
    value %= period;
    if (value < 0) value += period;
    return static_cast<int32_t>(value);
}

bool movePosition(int32_t& position, int32_t& speed, uint16_t tiles, uint16_t divisor, int32_t value, int32_t mode) {
    int64_t moved = 0;
    switch (mode) {
        case kModeSet: moved = value; break;
        case kModeAdd: moved = static_cast<int64_t>(position) + value; break;
        case kModeAdvance:
            moved = static_cast<int64_t>(position) + speed / divisor;
            speed = 0;
            break;
        default: return true;
    }
    position = wrapInto(moved, static_cast<int64_t>(tiles) * kTilePeriod);
    return true;
}

bool changeSpeed(int32_t& speed, int32_t value, int32_t mode) {
    if (mode == kModeSet) {
        speed = value;
    } else if (mode == kModeAdd) {
        speed = static_cast<int32_t>(static_cast<uint32_t>(speed) + static_cast<uint32_t>(value));
    }
    return true;
}

// Screen extent and source offset of the k-th visited column (or row): the
// first is cut on its left by the offset, the last shows only the offset.
struct CellSpan {
    int32_t low;
    int32_t high;
    int32_t source;
};

CellSpan cellSpan(int32_t k, int32_t last, int32_t offset) {
    if (k == 0) return {0, kTileSize - offset, offset};
    const int32_t low = k * kTileSize - offset;
    return {low, low + (k == last ? offset : kTileSize), 0};
}

}  // namespace

TileList* CreateTiles(std::span<const GfxBitmap* const> bitmaps, uint16_t count) {
    auto* list = new (std::nothrow) TileList;
    if (list != nullptr) list->tiles.reset(new (std::nothrow) const GfxBitmap*[count]());
    if (list == nullptr || (count > 0 && !list->tiles)) {
        delete list;
        gfxFatal("hTileList in CreateTiles");
    }
    list->count = count;
    for (size_t i = 0; i < count && i < bitmaps.size(); ++i) list->tiles[i] = bitmaps[i];
    return list;
}

bool DestroyTiles(TileList* list) {
    delete list;
    return true;
}

bool Plane::create(uint16_t width, uint16_t height, uint16_t divisor) {
    data_.reset();
    const size_t cells = static_cast<size_t>(width) * height;
    if (width == 0 || height == 0 || width > kMaxPlaneSide || height > kMaxPlaneSide || cells > kMaxCells ||
        divisor == 0)
        return false;
    std::unique_ptr<PlaneData> data(new (std::nothrow) PlaneData);
    if (!data) return false;
    data->cells.reset(new (std::nothrow) const GfxBitmap*[cells]());
    if (!data->cells) return false;
    data->width = width;
    data->height = height;
    data->divisor = divisor;
    data_ = std::move(data);
    return true;
}

bool Plane::readList(std::span<const char> text, uint16_t width, uint16_t height) {
    const size_t cells = static_cast<size_t>(width) * height;
    if (cells == 0 || cells > kMaxCells) return false;
    tileNumbers_.reset(new (std::nothrow) int16_t[cells]);
    tileCount_ = tileNumbers_ ? cells : 0;
    if (!tileNumbers_) return false;

    size_t at = 0;
    const auto skipSeparators = [&] {
        while (at < text.size() && isSeparator(text[at])) ++at;
    };
    for (size_t cell = 0; cell < cells; ++cell) {
        skipSeparators();
        int32_t value = 0;
        if (at < text.size() && isDigit(text[at])) {
            // Numbers past any tile list read as one more than a tile
            // number can be, which attaches as an empty cell.
            while (at < text.size() && isDigit(text[at])) {
                value = value * 10 + (text[at] - '0');
                if (value > 32768) value = 32768;
                ++at;
            }
            skipSeparators();
        }
        tileNumbers_[cell] = static_cast<int16_t>(value - 1);
    }
    return true;
}

bool Plane::readList(const char* resourceName, uint16_t width, uint16_t height) {
    const std::span<const char> text = loadResourceText(resourceName);
    if (text.empty()) return false;
    return readList(text, width, height);
}

bool Plane::attachTiles(const TileList& tiles) {
    if (!data_) return true;
    const size_t cells = static_cast<size_t>(data_->width) * data_->height;
    for (size_t i = 0; i < cells; ++i) {
        const int16_t n = tileNumber(i);
        const bool held = n >= 0 && n < tiles.count && tiles.tiles;
        data_->cells[i] = held ? tiles.tiles[static_cast<size_t>(n)] : nullptr;
    }
    return true;
}

bool Plane::moveX(int32_t value, int32_t mode) {
    if (!data_) return false;
    return movePosition(data_->x, data_->speedX, data_->width, data_->divisor, value, mode);
}

bool Plane::moveY(int32_t value, int32_t mode) {
    if (!data_) return false;
    return movePosition(data_->y, data_->speedY, data_->height, data_->divisor, value, mode);
}

bool Plane::setSpeedX(int32_t value, int32_t mode) {
    if (!data_) return false;
    return changeSpeed(data_->speedX, value, mode);
}

bool Plane::setSpeedY(int32_t value, int32_t mode) {
    if (!data_) return false;
    return changeSpeed(data_->speedY, value, mode);
}

bool Plane::draw() const {
    if (!data_) return true;
    const PlaneData& d = *data_;
    const int32_t px = d.x >> 16;
    const int32_t py = d.y >> 16;
    const int32_t firstColumn = px / kTileSize;
    const int32_t firstRow = py / kTileSize;
    const int32_t offsetX = px % kTileSize;
    const int32_t offsetY = py % kTileSize;

    for (int32_t k = 0; k < kVisibleRows; ++k) {
        const CellSpan rows = cellSpan(k, kVisibleRows - 1, offsetY);
        const size_t rowBase = static_cast<size_t>((firstRow + k) % d.height) * d.width;
        for (int32_t j = 0; j < kVisibleColumns; ++j) {
            const GfxBitmap* tile = d.cells[rowBase + static_cast<size_t>((firstColumn + j) % d.width)];
            if (tile == nullptr) continue;
            const CellSpan columns = cellSpan(j, kVisibleColumns - 1, offsetX);
            gfxDrawBitmap(Rect{columns.low, rows.low, columns.high, rows.high}, tile, columns.source, rows.source);
        }
    }
    return true;
}

bool Plane::destroy() {
    tileNumbers_.reset();
    tileCount_ = 0;
    if (!data_ || !data_->cells) {
        data_.reset();
        return false;
    }
    data_.reset();
    return true;
}

}  // namespace engine
