#include "tools/artgen/preview.h"

#include "scenes/scene_description.h"
#include "tools/artgen/canvas.h"

#include <cstdint>

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

    void drawSprite(const IndexedImage* image, int left, int top) {
        if (image == nullptr) throw ArtError("the preview misses a picture of the scene");
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x) put(left + x, top + y, image->at(x, y));
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

// Whole pixels per step of a plane moving at `speed` (16.16, before its divisor).
int pixelsPerStep(int32_t speed, const scenes::PlaneLayout& plane) { return speed / plane.divisor / 65536; }

const IndexedImage* firstFrame(const ArtSet& art, const scenes::SpriteLayout& sprite, int32_t action) {
    for (const auto& frame : sprite.frames)
        if (frame.action == action) return art.find(std::string(frame.picture));
    return nullptr;
}

}  // namespace

int scrolledBy(int steps, int pixelsPerStep, int period) {
    const int64_t turns = static_cast<int64_t>(steps % period) * pixelsPerStep % period;
    return static_cast<int>(turns < 0 ? turns + period : turns);
}

void writePreview(const ArtSet& art, PreviewState state, const std::string& pngPath) {
    const scenes::SceneDescription& scene = sceneOf(art.game);
    const scenes::BandMotion& motion = state.voiced ? scene.inBand : scene.outOfBand;
    auto scrolled = [&](const PlaneDesign& plane, int32_t speed, const scenes::PlaneLayout& layout) {
        return scrolledBy(state.steps, pixelsPerStep(speed, layout), plane.columns * kTileSize);
    };
    const int backX = scrolled(art.back, motion.backSpeed, scene.back);
    Screen screen;
    for (scenes::PlaneId id : scene.drawOrder) {
        switch (id) {
        case scenes::PlaneId::Back: screen.drawPlane(art.back, backX); break;
        case scenes::PlaneId::Middle:
            screen.drawPlane(art.middle, scrolled(art.middle, motion.middleSpeed, scene.middle));
            break;
        case scenes::PlaneId::Front:
            screen.drawPlane(art.front, scrolled(art.front, motion.frontSpeed.value_or(0), scene.front));
            break;
        }
    }
    for (int index : scene.displayOrder) {
        const scenes::SpriteLayout& sprite = scene.extras[static_cast<std::size_t>(index)];
        int x = sprite.x - (sprite.scrollsWithBackPlane ? backX : 0);
        if (x < -static_cast<int>(sprite.boxWidth)) x += scene.wrapX;
        screen.drawSprite(firstFrame(art, sprite, scenes::kDrift), x, sprite.y);
    }
    const scenes::SpriteLayout& main = scene.mainSprite;
    const int32_t action = state.voiced ? scenes::kVoiced : scenes::kIdle;
    const int y = motion.mainY ? *motion.mainY / 65536 : main.y;
    screen.drawSprite(firstFrame(art, main, action), main.x, y);
    screen.writePng(pngPath);
}

}  // namespace artgen
