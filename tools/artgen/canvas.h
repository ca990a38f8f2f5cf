// Drawing with cairo and turning the result into palette pictures.
#pragma once

#include "tools/artgen/bmp.h"
#include "tools/artgen/palette.h"

#include <cairo.h>

#include <stdexcept>
#include <string>

namespace artgen {

// What stops the generator: a missing font, a design that outgrows its
// tile numbers.  main() reports it and exits with 1.
struct ArtError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An ARGB32 surface, fully transparent at the start, and its context.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

void setColour(cairo_t* cr, Rgb colour, double alpha = 1.0);

// Sprites and see-through tiles: a pixel at least half covered keeps its
// own colour, anything less becomes transparent white.  Antialiased edges
// therefore never leave a pale halo around the shape.
IndexedImage quantizeWithTransparency(const Canvas& canvas);

// Pictures that cover every pixel (sky, title): never transparent, and
// lightly dithered so that gradients show no bands.
IndexedImage quantizeOpaque(const Canvas& canvas);

// Text in DejaVu Sans Bold, loaded from its file so that every machine
// draws the same letters.  Throws ArtError when the font is missing.
void selectTextFont(cairo_t* cr, double size);

// Centred on x with its baseline at y; a rounded dark outline around a
// bright fill keeps letters readable over any background.
void drawOutlinedText(cairo_t* cr, const std::string& utf8, double centreX, double baselineY,
                      Rgb fill, Rgb outline, double outlineWidth);

}  // namespace artgen
