#include "tools/artgen/canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace artgen {
namespace {

constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

Rgb unpremultiplied(uint32_t argb) {
    const uint32_t a = argb >> 24;
    auto channel = [a](uint32_t premultiplied) {
        return static_cast<uint8_t>(a == 0 ? 0 : std::min<uint32_t>(255, (premultiplied * 255 + a / 2) / a));
    };
    return {channel((argb >> 16) & 0xFF), channel((argb >> 8) & 0xFF), channel(argb & 0xFF)};
}

template <typename PixelToIndex>
IndexedImage quantize(const Canvas& canvas, PixelToIndex toIndex) {
    cairo_surface_flush(canvas.surface());
    const unsigned char* data = cairo_image_surface_get_data(canvas.surface());
    const int stride = cairo_image_surface_get_stride(canvas.surface());
    IndexedImage image(canvas.width(), canvas.height());
    for (int y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) image.at(x, y) = toIndex(row[x], x, y);
    }
    return image;
}

// Ordered dithering softens the steps of long gradients.  The 4 x 4 pattern
// is tied to the picture's own coordinates, and tiles are cut at multiples
// of 4, so equal pieces of a picture still give equal tiles.
Rgb dithered(Rgb c, int x, int y) {
    static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    constexpr int kStrength = 6;  // about half a step of the sky ramp
    const int offset = (kBayer[y & 3][x & 3] * 2 - 15) * kStrength / 30;
    auto shift = [offset](uint8_t v) { return static_cast<uint8_t>(std::clamp(v + offset, 0, 255)); };
    return {shift(c.r), shift(c.g), shift(c.b)};
}

// One face for the whole run; cairo may keep it in its caches after we let
// go of it, so FreeType's face lives until cairo says it is done.
cairo_font_face_t* textFace() {
    static cairo_font_face_t* face = [] {
        static FT_Library library = nullptr;
        if (!library && FT_Init_FreeType(&library) != 0) throw ArtError("cannot start FreeType");
        FT_Face ftFace = nullptr;
        if (FT_New_Face(library, kFontPath, 0, &ftFace) != 0)
            throw ArtError(std::string("cannot load the font ") + kFontPath +
                           " (Debian package fonts-dejavu-core)");
        cairo_font_face_t* created = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
        static const cairo_user_data_key_t key{};
        cairo_font_face_set_user_data(created, &key, ftFace,
                                      [](void* p) { FT_Done_Face(static_cast<FT_Face>(p)); });
        return created;
    }();
    return face;
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) throw ArtError("cannot create a drawing surface");
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void setColour(cairo_t* cr, Rgb c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

IndexedImage quantizeWithTransparency(const Canvas& canvas) {
    return quantize(canvas, [](uint32_t argb, int, int) {
        return (argb >> 24) < 128 ? kTransparentIndex : nearestVisibleIndex(unpremultiplied(argb));
    });
}

IndexedImage quantizeOpaque(const Canvas& canvas) {
    return quantize(canvas, [](uint32_t argb, int x, int y) {
        return nearestVisibleIndex(dithered(unpremultiplied(argb | 0xFF000000u), x, y));
    });
}

void selectTextFont(cairo_t* cr, double size) {
    cairo_set_font_face(cr, textFace());
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

void drawOutlinedText(cairo_t* cr, const std::string& utf8, double centreX, double baselineY, Rgb fill,
                      Rgb outline, double outlineWidth) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8.c_str(), &extents);
    cairo_new_path(cr);
    cairo_move_to(cr, centreX - extents.width / 2 - extents.x_bearing, baselineY);
    cairo_text_path(cr, utf8.c_str());
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, outlineWidth);
    setColour(cr, outline);
    cairo_stroke_preserve(cr);
    setColour(cr, fill);
    cairo_fill(cr);
}

}  // namespace artgen
