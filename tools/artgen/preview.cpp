#include "tools/artgen/preview.h"

#include "tools/artgen/canvas.h"

namespace artgen {
namespace {

class Screen {
public:
    Screen() : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kScreenWidth, kScreenHeight)) {
        data_ = cairo_image_surface_get_data(surface_);
        stride_ = cairo_image_surface_get_stride(surface_);
    }
    ~Screen() { cairo_surface_destroy(surface_); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Colour-keyed like the engine's blits: white pixels are skipped.
    void put(int x, int y, uint8_t index) {
        if (index == kTransparentIndex || x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return;
        const Rgb c = artPalette()[index];
        auto* row = reinterpret_cast<uint32_t*>(data_ + static_cast<std::ptrdiff_t>(y) * stride_);
        row[x] = (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
    }

    void drawPlane(const PlaneDesign& plane, int planeX) {
        const int width = plane.columns * kTileSize, height = plane.planeRows * kTileSize;
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                const int px = (x + planeX) % width, py = y % height;
                const uint16_t number = plane.cell(px / kTileSize, py / kTileSize);
                if (number != 0) put(x, y, plane.tiles.at(number).at(px % kTileSize, py % kTileSize));
            }
    }

    void drawSprite(const IndexedImage& image, int left, int top) {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) put(left + x, top + y, image.at(x, y));
    }

    void writePng(const std::string& path) {
        cairo_surface_mark_dirty(surface_);
        if (cairo_surface_write_to_png(surface_, path.c_str()) != CAIRO_STATUS_SUCCESS)
            throw ArtError("cannot write the preview '" + path + "'");
    }

private:
    cairo_surface_t* surface_;
    unsigned char* data_;
    int stride_;
};

}  // namespace

void writePreview(const ArtSet& art, PreviewState state, const std::string& pngPath) {
    Screen screen;
    screen.drawPlane(art.back, state.steps * 4 % (art.back.columns * kTileSize));
    screen.drawPlane(art.front, 0);
    screen.drawPlane(art.middle, state.steps * 10 % (art.middle.columns * kTileSize));
    screen.drawSprite(*art.find(kFlyName), 540, 440);
    screen.drawSprite(*art.find(aeroplaneName(0)), 300, 10);
    if (state.voiced)
        screen.drawSprite(*art.find(beeName(2)), 30, 220);
    else
        screen.drawSprite(*art.find(beeName(0)), 30, 350);
    screen.writePng(pngPath);
}

}  // namespace artgen
