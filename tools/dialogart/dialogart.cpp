// Draws the pictures of the calibration dialogs: the noise dialog's
// "be quiet" picture (a 24-bit BMP) and the volume icon (an .ico), plus a
// program icon in the colours of each game.
//
//   dialogart OUTDIR
//
// Writes OUTDIR/noise.bmp, OUTDIR/volume.ico and OUTDIR/program.ico.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/dialogart/dib_writer.h"
#include "tools/little_endian.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

using tools::putLe16;
using tools::putLe32;
using tools::encodeIco32;
using tools::putInfoHeader;

std::vector<uint8_t> bmp24(cairo_surface_t* s) {
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* px = cairo_image_surface_get_data(s);
    const int row = (w * 3 + 3) & ~3;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putLe32(out, static_cast<uint32_t>(54 + row * h));
    putLe32(out, 0);
    putLe32(out, 54);
    putInfoHeader(out, w, h, 24, static_cast<uint32_t>(row * h));
    for (int y = h - 1; y >= 0; --y) {
        const auto* p = reinterpret_cast<const uint32_t*>(px + y * stride);
        for (int x = 0; x < w; ++x) {
            out.push_back(static_cast<uint8_t>(p[x] & 0xFF));
            out.push_back(static_cast<uint8_t>((p[x] >> 8) & 0xFF));
            out.push_back(static_cast<uint8_t>((p[x] >> 16) & 0xFF));
        }
        for (int pad = w * 3; pad < row; ++pad) out.push_back(uint8_t{0});
    }
    return out;
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

// A smiling child holding a finger to the lips, and "Silêncio!".
cairo_surface_t* drawNoisePicture() {
    const int w = 220, h = 148;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);  // the dialog's grey
    cairo_paint(cr);
    roundedRect(cr, 4, 4, w - 8, h - 8, 14);
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
    roundedRect(cr, cx - 4, cy + 4, 9, 38, 4);  // finger on the lips
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
    roundedRect(cr, 12, 5, 8, 14, 4);
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

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "dialogart: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialogart OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    cairo_surface_t* noise = drawNoisePicture();
    cairo_surface_t* volume = drawVolumeIcon();
    cairo_surface_t* program = drawProgramIcon();
    const bool ok = writeFile(dir + "/noise.bmp", bmp24(noise)) && writeFile(dir + "/volume.ico", encodeIco32(volume)) &&
                    writeFile(dir + "/program.ico", encodeIco32(program));
    cairo_surface_destroy(noise);
    cairo_surface_destroy(volume);
    cairo_surface_destroy(program);
    return ok ? 0 : 1;
}
