// Draws the pictures of the main menu's exercise buttons: a bee, a car, a
// boat, a girl and the adult program's graph, each a small scene in the
// games' colours, as 8-bit BMPs in the games' palette.
// abelha.bmp, carro.bmp, barco.bmp, menina.bmp, adulto.bmp.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/scenery.h"
#include "tools/artgen/shapes.h"
#include "tools/artgen/sprites.h"
#include "tools/artgen/image_files.h"
#include "tools/artgen/picture_sets.h"

namespace {

using namespace artgen;
using namespace artgen::colours;

constexpr int kWidth = 128, kHeight = 96;

constexpr Rgb kRoad{96, 98, 108};
constexpr Rgb kSea{40, 110, 200};
constexpr Rgb kSeaLight{110, 170, 236};
constexpr Rgb kHull{190, 26, 30};
constexpr Rgb kMast{112, 70, 36};
constexpr Rgb kHair{140, 80, 30};
constexpr Rgb kDress{244, 120, 190};
constexpr Rgb kPanel{236, 240, 248};
constexpr Rgb kGrid{190, 198, 216};
constexpr Rgb kBar{60, 170, 70};
constexpr Rgb kBand{226, 40, 40};

void paintSkyAndGround(cairo_t* cr, double groundY, Rgb ground) {
    paintSky(cr, kWidth, kHeight, groundY);
    cairo_rectangle(cr, 0, groundY, kWidth, kHeight - groundY);
    setColour(cr, ground);
    cairo_fill(cr);
}

// The bee of the game, flying over a meadow of flowers.
void paintBeePicture(cairo_t* cr) {
    paintSkyAndGround(cr, 74, kHill);
    drawCloud(cr, 4, 6, 44, 22, 0);
    for (int i = 0; i < 5; ++i) drawFlower(cr, 10 + i * 27, 82 + (i % 2) * 6, 6, i % 2 ? kPink : kRed, kBeeYellow);
    cairo_save(cr);
    cairo_translate(cr, 34, 4);
    cairo_scale(cr, 1.15, 1.15);
    paintBee(cr, 2);
    cairo_restore(cr);
}

void paintWheel(cairo_t* cr, double cx, double cy) {
    outlinedEllipse(cr, cx, cy, 11, 11, kTyre, kOutline, 2);
    outlinedEllipse(cr, cx, cy, 5, 5, kStoneLight, kOutline, 1.5);
}

// A red car on a road.
void paintCarPicture(cairo_t* cr) {
    paintSkyAndGround(cr, 70, kRoad);
    drawCloud(cr, 74, 6, 46, 22, 1);
    for (int x = 4; x < kWidth; x += 28) {
        cairo_rectangle(cr, x, 84, 16, 4);
        setColour(cr, kBeeYellow);
        cairo_fill(cr);
    }
    roundedRectPath(cr, 40, 30, 46, 24, 9);  // cabin
    fillAndOutline(cr, kPlaneRed, kOutline, 2.5);
    roundedRectPath(cr, 46, 35, 16, 14, 4);
    fillAndOutline(cr, kCanopy, kOutline, 1.5);
    roundedRectPath(cr, 65, 35, 15, 14, 4);
    fillAndOutline(cr, kCanopy, kOutline, 1.5);
    roundedRectPath(cr, 16, 48, 98, 24, 10);  // body
    fillAndOutline(cr, kPlaneRed, kOutline, 2.5);
    fillEllipse(cr, 108, 56, 4, 4, kBeeYellow);  // headlight
    paintWheel(cr, 38, 72);
    paintWheel(cr, 92, 72);
}

// A sailing boat on the waves.
void paintBoatPicture(cairo_t* cr) {
    paintSky(cr, kWidth, kHeight, 70);
    drawCloud(cr, 6, 8, 40, 20, 2);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, kHeight);
    for (int x = 0; x <= kWidth; x += 2) cairo_line_to(cr, x, 70 + 3 * std::sin(x / 7.0));
    cairo_line_to(cr, kWidth, kHeight);
    cairo_close_path(cr);
    fillVertically(cr, 68, kSeaLight, kHeight, kSea);
    strokeLine(cr, 66, 12, 66, 66, kMast, 3.5);  // mast
    cairo_new_path(cr);                          // sails
    cairo_move_to(cr, 70, 14);
    cairo_line_to(cr, 104, 60);
    cairo_line_to(cr, 70, 60);
    cairo_close_path(cr);
    fillAndOutline(cr, kCloud, kOutline, 2);
    cairo_move_to(cr, 62, 20);
    cairo_line_to(cr, 62, 60);
    cairo_line_to(cr, 36, 60);
    cairo_close_path(cr);
    fillAndOutline(cr, kBeeLight, kOutline, 2);
    cairo_move_to(cr, 66, 10);  // flag
    cairo_line_to(cr, 80, 6);
    cairo_line_to(cr, 66, 2);
    cairo_close_path(cr);
    fillAndOutline(cr, kOrange, kOutline, 1.5);
    cairo_move_to(cr, 22, 64);  // hull
    cairo_line_to(cr, 110, 64);
    cairo_line_to(cr, 96, 82);
    cairo_line_to(cr, 34, 82);
    cairo_close_path(cr);
    fillAndOutline(cr, kHull, kOutline, 2.5);
    for (int x = 0; x <= kWidth; x += 32) strokeLine(cr, x + 4, 90, x + 18, 90, kSeaLight, 2.5);
}

// A smiling girl with pigtails in a pink dress, on the grass.
void paintGirlPicture(cairo_t* cr) {
    paintSkyAndGround(cr, 78, kHill);
    drawFlower(cr, 16, 84, 7, kPurple, kBeeYellow);
    drawFlower(cr, 112, 86, 7, kRed, kBeeYellow);
    cairo_new_path(cr);  // dress
    cairo_move_to(cr, 64, 44);
    cairo_line_to(cr, 84, 80);
    cairo_line_to(cr, 44, 80);
    cairo_close_path(cr);
    fillAndOutline(cr, kDress, kOutline, 2.5);
    strokeLine(cr, 56, 56, 40, 68, kSkin, 4);  // arms
    strokeLine(cr, 72, 56, 88, 68, kSkin, 4);
    strokeLine(cr, 56, 80, 56, 90, kOutline, 4);  // legs
    strokeLine(cr, 72, 80, 72, 90, kOutline, 4);
    outlinedEllipse(cr, 44, 28, 7, 9, kHair, kOutline, 2);  // pigtails
    outlinedEllipse(cr, 84, 28, 7, 9, kHair, kOutline, 2);
    outlinedEllipse(cr, 64, 28, 17, 18, kSkin, kOutline, 2.5);  // face
    cairo_new_path(cr);                                          // fringe
    cairo_arc(cr, 64, 26, 18, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    fillAndOutline(cr, kHair, kOutline, 2);
    fillEllipse(cr, 58, 30, 2.5, 3, kOutline);  // eyes
    fillEllipse(cr, 70, 30, 2.5, 3, kOutline);
    fillEllipse(cr, 54, 36, 3, 2, kCheek);
    fillEllipse(cr, 74, 36, 3, 2, kCheek);
    cairo_new_path(cr);  // smile
    cairo_arc(cr, 64, 35, 6, 0.2 * M_PI, 0.8 * M_PI);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    outlinedEllipse(cr, 64, 9, 5, 4, kRed, kOutline, 1.5);  // bow
}

// The adult program's view: a scrolling bar graph with the band's limits.
void paintAdultPicture(cairo_t* cr) {
    roundedRectPath(cr, 0, 0, kWidth, kHeight, 1);
    setColour(cr, kPanel);
    cairo_fill(cr);
    for (int y = 16; y < 84; y += 17) strokeLine(cr, 14, y, 122, y, kGrid, 1);
    strokeLine(cr, 14, 8, 14, 84, kNavy, 2.5);  // axes
    strokeLine(cr, 12, 84, 122, 84, kNavy, 2.5);
    const double heights[] = {10, 18, 34, 46, 50, 52, 49, 53, 51, 47, 50, 30, 14, 8};
    for (int i = 0; i < 14; ++i) {
        const double h = heights[i];
        cairo_rectangle(cr, 18 + i * 7.3, 84 - h, 5.5, h);
        setColour(cr, h > 40 && h < 58 ? kBar : kStone);
        cairo_fill(cr);
    }
    const double dashes[] = {5, 3};
    cairo_set_dash(cr, dashes, 2, 0);
    strokeLine(cr, 14, 44, 122, 44, kBand, 2);
    strokeLine(cr, 14, 24, 122, 24, kBand, 2);
    cairo_set_dash(cr, nullptr, 0, 0);
}

std::vector<uint8_t> picture(void (*paint)(cairo_t*)) {
    Canvas canvas(kWidth, kHeight);
    paint(canvas.cr());
    cairo_surface_flush(canvas.surface());
    return encodeBmp8(quantizeOpaque(canvas), artPalette());
}

}  // namespace

namespace artgen {

std::vector<tools::ImageFile> menuPictures() {
    const struct {
        const char* name;
        void (*paint)(cairo_t*);
    } pictures[] = {
        {"abelha.bmp", paintBeePicture}, {"carro.bmp", paintCarPicture},   {"barco.bmp", paintBoatPicture},
        {"menina.bmp", paintGirlPicture}, {"adulto.bmp", paintAdultPicture},
    };
    std::vector<tools::ImageFile> files;
    for (const auto& p : pictures) files.push_back({p.name, picture(p.paint)});
    return files;
}

}  // namespace artgen
