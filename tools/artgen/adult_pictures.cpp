// Draws the adult program's pictures and icon:
//
// invitation.bmp (634 x 280: hold the microphone close, click
// to start), working.bmp (640 x 280: the blue panels behind the
// graph and the time box) and adulto.ico.  The pictures are 8-bit
// with the suite's palette; the panels are exactly the panel colour, which
// the program's own drawing matches.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/artgen/bmp.h"
#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/shapes.h"
#include "tools/artgen/image_files.h"
#include "tools/artgen/picture_sets.h"

namespace {

using namespace artgen;
using namespace artgen::colours;

constexpr Rgb kBackground = kCloudShade;
constexpr Rgb kPanelEdge{20, 30, 80};
constexpr Rgb kLabel = kEyeWhite;
constexpr Rgb kWarning = kBeeLight;

// A panel of the working screen: flat panel colour inside a dark rim.
void panel(cairo_t* cr, double x, double y, double w, double h) {
    roundedRectPath(cr, x, y, w, h, 10);
    fillAndOutline(cr, kPanel, kPanelEdge, 3);
}

void text(cairo_t* cr, const char* utf8, double size, double centreX, double baselineY, Rgb fill, Rgb outline) {
    selectTextFont(cr, size);
    drawOutlinedText(cr, utf8, centreX, baselineY, fill, outline, size / 6);
}

void paintBackground(cairo_t* cr) {
    setColour(cr, kBackground);
    cairo_paint(cr);
}

// The working screen.  The measurement panel covers (40, 50)-(330, 190);
// the time box is printed at (430, 110)-(590, 160).
IndexedImage drawWorking() {
    Canvas canvas(640, 280);
    cairo_t* cr = canvas.cr();
    paintBackground(cr);
    panel(cr, 26, 22, 318, 182);
    text(cr, "Intensidade da voz", 15, 185, 42, kLabel, kPanelEdge);
    panel(cr, 412, 62, 196, 112);
    text(cr, "Tempo", 24, 510, 98, kLabel, kPanelEdge);
    text(cr, "Cada barra: a voz dentro da faixa", 14, 185, 232, kNavy, kBackground);
    text(cr, "Esc: sair", 14, 510, 232, kNavy, kBackground);
    return quantizeWithTransparency(canvas);  // opaque everywhere: no dithering, so flat panels stay exact
}

// A face in profile looking right, a microphone close to its mouth and the
// distance marked between them.
void paintFaceAndMicrophone(cairo_t* cr, double x, double y) {
    cairo_new_path(cr);
    cairo_move_to(cr, x, y - 60);
    cairo_curve_to(cr, x + 40, y - 70, x + 62, y - 40, x + 60, y - 14);  // forehead
    cairo_line_to(cr, x + 72, y + 6);                                      // nose
    cairo_line_to(cr, x + 60, y + 10);
    cairo_line_to(cr, x + 62, y + 22);                                     // lips
    cairo_line_to(cr, x + 58, y + 30);
    cairo_curve_to(cr, x + 56, y + 46, x + 40, y + 56, x + 20, y + 56);    // chin
    cairo_line_to(cr, x + 20, y + 80);
    cairo_line_to(cr, x - 30, y + 80);
    cairo_curve_to(cr, x - 40, y + 20, x - 40, y - 50, x, y - 60);
    cairo_close_path(cr);
    fillAndOutline(cr, kSkin, kOutline, 2.5);
    fillEllipse(cr, x + 42, y - 16, 3.5, 4.5, kOutline);  // eye

    // The microphone, its head 3 cm from the lips.
    const double mx = x + 104, my = y + 20;
    roundedRectPath(cr, mx - 9, my - 16, 18, 30, 9);
    fillAndOutline(cr, kStone, kOutline, 2);
    cairo_new_path(cr);
    cairo_move_to(cr, mx, my + 14);
    cairo_line_to(cr, mx + 14, my + 56);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 7);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);

    // The distance: an arrow between lips and microphone.
    const double ay = y - 10, from = x + 66, to = mx - 9;
    strokeLine(cr, from, ay, to, ay, kRed, 2.5);
    for (double end : {from, to}) {
        const double dir = end == from ? 1 : -1;
        cairo_new_path(cr);
        cairo_move_to(cr, end, ay);
        cairo_line_to(cr, end + dir * 7, ay - 5);
        cairo_line_to(cr, end + dir * 7, ay + 5);
        cairo_close_path(cr);
        setColour(cr, kRed);
        cairo_fill(cr);
    }
    text(cr, "3 cm", 15, (from + to) / 2, ay - 10, kRed, kWarning);
}

// A mouse with its left button lit.
void paintMouse(cairo_t* cr, double cx, double cy) {
    roundedRectPath(cr, cx - 26, cy - 40, 52, 80, 24);
    fillAndOutline(cr, kStoneLight, kOutline, 3);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 26, cy - 6);
    cairo_line_to(cr, cx + 26, cy - 6);
    cairo_move_to(cr, cx, cy - 40);
    cairo_line_to(cr, cx, cy - 6);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 3, cy - 37);
    cairo_arc_negative(cr, cx - 2, cy - 16, 21, -M_PI / 2 - 0.05, -M_PI);
    cairo_line_to(cr, cx - 23, cy - 9);
    cairo_line_to(cr, cx - 3, cy - 9);
    cairo_close_path(cr);
    setColour(cr, kOrange);
    cairo_fill(cr);
    for (int i = 0; i < 3; ++i) {  // "click" strokes
        const double a = M_PI * (1.05 + 0.2 * i);
        strokeLine(cr, cx - 30 + std::cos(a) * 14, cy - 44 + std::sin(a) * 14, cx - 30 + std::cos(a) * 26,
                   cy - 44 + std::sin(a) * 26, kOrange, 3);
    }
}

// The invitation: shown from the first noise measurement until the click.
IndexedImage drawInvitation() {
    Canvas canvas(634, 280);
    cairo_t* cr = canvas.cr();
    paintBackground(cr);
    roundedRectPath(cr, 12, 12, 610, 46, 12);
    fillAndOutline(cr, kPanel, kPanelEdge, 3);
    text(cr, "Tempo Expiratório", 28, 317, 46, kLabel, kPanelEdge);

    roundedRectPath(cr, 16, 72, 366, 190, 14);
    fillAndOutline(cr, kWarning, kOrange, 4);
    text(cr, "Atenção!", 22, 199, 100, kRed, kWarning);
    paintFaceAndMicrophone(cr, 70, 176);
    text(cr, "Segure o microfone", 15, 290, 160, kNavy, kWarning);
    text(cr, "a no máximo 3 cm", 15, 290, 182, kNavy, kWarning);
    text(cr, "da boca.", 15, 290, 204, kNavy, kWarning);

    roundedRectPath(cr, 398, 72, 220, 190, 14);
    fillAndOutline(cr, kPanel, kPanelEdge, 3);
    paintMouse(cr, 508, 148);
    text(cr, "Clique para", 20, 508, 222, kLabel, kPanelEdge);
    text(cr, "começar", 20, 508, 246, kLabel, kPanelEdge);
    return quantizeWithTransparency(canvas);
}

// The program's icon: cyan bars on a blue disc, the graph it draws.
cairo_surface_t* drawIcon() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cairo_t* cr = cairo_create(s);
    cairo_arc(cr, 16, 16, 15, 0, 2 * M_PI);
    setColour(cr, kPanel);
    cairo_fill_preserve(cr);
    setColour(cr, kEyeWhite);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    const double heights[] = {6, 12, 18, 10, 14};
    cairo_set_source_rgb(cr, 0, 1, 1);
    cairo_set_line_width(cr, 3);
    for (int i = 0; i < 5; ++i) {
        const double x = 7 + 4.5 * i;
        cairo_move_to(cr, x, 16 - heights[i] / 2);
        cairo_line_to(cr, x, 16 + heights[i] / 2);
    }
    cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

}  // namespace

namespace artgen {

std::vector<tools::ImageFile> adultPictures() {
    cairo_surface_t* icon = drawIcon();
    std::vector<tools::ImageFile> files{{"working.bmp", encodeBmp8(drawWorking(), artPalette())},
                                        {"invitation.bmp", encodeBmp8(drawInvitation(), artPalette())},
                                        {"adulto.ico", tools::encodeIco32(icon)}};
    cairo_surface_destroy(icon);
    return files;
}

}  // namespace artgen
