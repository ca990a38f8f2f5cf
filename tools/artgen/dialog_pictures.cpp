// Draws the pictures of the calibration dialogs: the noise dialog's
// "be quiet" picture (a 24-bit BMP) and the volume icon (an .ico), plus a
// program icon in the colours of each game.
// noise.bmp, volume.ico and program.ico.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/artgen/shapes.h"
#include "tools/artgen/image_files.h"
#include "tools/artgen/picture_sets.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A smiling child holding a finger to the lips, and "Silêncio!".
cairo_surface_t* drawNoisePicture() {
    const int w = 220, h = 148;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);  // the dialog's grey
    cairo_paint(cr);
    artgen::roundedRectPath(cr, 4, 4, w - 8, h - 8, 14);
    cairo_set_source_rgb(cr, 0.75, 0.88, 1.0);
    cairo_fill(cr);

    const double cx = 66, cy = 70, r = 42;
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);  // face
    cairo_set_source_rgb(cr, 1.0, 0.84, 0.68);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.45, 0.3, 0.2);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy - 6, r + 2, kPi * 1.05, kPi * 1.95);  // hair
    cairo_set_line_width(cr, 9);
    cairo_set_source_rgb(cr, 0.5, 0.3, 0.15);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0.15, 0.15, 0.2);  // closed, smiling eyes
    cairo_set_line_width(cr, 3);
    for (double ex : {cx - 15, cx + 15}) {
        cairo_arc(cr, ex, cy - 8, 6, kPi * 1.15, kPi * 1.85);
        cairo_stroke(cr);
    }
    cairo_set_source_rgb(cr, 0.85, 0.3, 0.35);  // lips
    cairo_set_line_width(cr, 3.5);
    cairo_move_to(cr, cx - 10, cy + 20);
    cairo_line_to(cr, cx + 10, cy + 20);
    cairo_stroke(cr);
    artgen::roundedRectPath(cr, cx - 4, cy + 4, 9, 38, 4);  // finger on the lips
    cairo_set_source_rgb(cr, 1.0, 0.78, 0.6);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.45, 0.3, 0.2);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);

    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 20);
    cairo_set_source_rgb(cr, 0.1, 0.25, 0.6);
    cairo_move_to(cr, 118, 62);
    cairo_show_text(cr, "Shhh!");
    cairo_set_font_size(cr, 15);
    cairo_move_to(cr, 116, 90);
    cairo_show_text(cr, "Silêncio!");
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

// A loudspeaker with sound waves.
cairo_surface_t* drawVolumeIcon() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0.2, 0.35, 0.75);
    cairo_move_to(cr, 3, 12);
    cairo_line_to(cr, 9, 12);
    cairo_line_to(cr, 17, 5);
    cairo_line_to(cr, 17, 27);
    cairo_line_to(cr, 9, 20);
    cairo_line_to(cr, 3, 20);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_set_line_width(cr, 2.2);
    for (double radius : {6.0, 10.0, 14.0}) {
        cairo_arc(cr, 17, 16, radius, -kPi / 4, kPi / 4);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

// A microphone in a bright disc: the programs' own icon.
cairo_surface_t* drawProgramIcon() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cairo_t* cr = cairo_create(s);
    cairo_arc(cr, 16, 16, 15, 0, 2 * kPi);
    cairo_set_source_rgb(cr, 1.0, 0.8, 0.1);
    cairo_fill(cr);
    artgen::roundedRectPath(cr, 12, 5, 8, 14, 4);
    cairo_set_source_rgb(cr, 0.25, 0.25, 0.3);
    cairo_fill(cr);
    cairo_set_line_width(cr, 2);
    cairo_arc(cr, 16, 14, 7, 0, kPi);
    cairo_stroke(cr);
    cairo_move_to(cr, 16, 21);
    cairo_line_to(cr, 16, 26);
    cairo_move_to(cr, 11, 26);
    cairo_line_to(cr, 21, 26);
    cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

}  // namespace

namespace artgen {

std::vector<tools::ImageFile> dialogPictures() {
    cairo_surface_t* noise = drawNoisePicture();
    cairo_surface_t* volume = drawVolumeIcon();
    cairo_surface_t* program = drawProgramIcon();
    std::vector<tools::ImageFile> files{{"noise.bmp", tools::encodeBmp24(noise)},
                                        {"volume.ico", tools::encodeIco32(volume)},
                                        {"program.ico", tools::encodeIco32(program)}};
    cairo_surface_destroy(noise);
    cairo_surface_destroy(volume);
    cairo_surface_destroy(program);
    return files;
}

}  // namespace artgen
