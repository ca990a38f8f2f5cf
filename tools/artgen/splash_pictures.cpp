// Draws the launcher's splash picture and icon: the suite's name over a
// meadow where the five exercises' characters stand together (the bee, the
// car, the boat, the girl and the adult program's graph).
//
// splash.bmp (520 x 317, 24 bits) and tavoral.ico.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <exception>
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

constexpr int kWidth = 520, kHeight = 317;
constexpr double kGroundY = 262;

constexpr Rgb kWater{70, 150, 220};
constexpr Rgb kWaterLight{150, 200, 240};
constexpr Rgb kHull{190, 80, 40};
constexpr Rgb kSail{250, 244, 220};
constexpr Rgb kHair{120, 70, 30};
constexpr Rgb kCard{250, 250, 240};
constexpr Rgb kBarGreen{60, 180, 80};

void paintBackground(cairo_t* cr) {
    paintSky(cr, kWidth, kHeight, kGroundY - 30);
    drawCloud(cr, 12, 14, 110, 56, 0);
    drawCloud(cr, 400, 24, 100, 50, 2);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, kHeight);
    for (int x = 0; x <= kWidth; x += 4) cairo_line_to(cr, x, kGroundY - 40 - 12 * std::sin(x / 70.0));
    cairo_line_to(cr, kWidth, kHeight);
    cairo_close_path(cr);
    setColour(cr, kHillShade);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, kGroundY - 18, kWidth, kHeight);
    setColour(cr, kHill);
    cairo_fill(cr);
    for (int i = 0; i < 8; ++i)
        drawFlower(cr, 24 + i * 68, kHeight - 14 - (i % 2) * 10, 7, i % 3 == 0 ? kRed : i % 3 == 1 ? kPink : kPurple,
                   kBeeYellow);
}

void paintTitle(cairo_t* cr) {
    selectTextFont(cr, 66);
    drawOutlinedText(cr, "Tavoral", kWidth / 2.0, 86, kBeeYellow, kOutline, 10);
    selectTextFont(cr, 22);
    drawOutlinedText(cr, "Tempo Expiratório", kWidth / 2.0, 120, kNavy, kCloud, 6);
}

void paintFlyingBee(cairo_t* cr, double x, double y) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1.35, 1.35);
    paintBee(cr, 3);
    cairo_restore(cr);
}

void paintCar(cairo_t* cr, double cx) {
    const double y = kGroundY - 10;  // where the wheels touch
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 40, y - 12);
    cairo_line_to(cr, cx - 40, y - 30);
    cairo_line_to(cr, cx - 22, y - 32);
    cairo_line_to(cr, cx - 12, y - 50);
    cairo_line_to(cr, cx + 16, y - 50);
    cairo_line_to(cr, cx + 28, y - 32);
    cairo_line_to(cr, cx + 40, y - 28);
    cairo_line_to(cr, cx + 40, y - 12);
    cairo_close_path(cr);
    fillAndOutline(cr, kPlaneRed, kOutline, 2);
    roundedRectPath(cr, cx - 8, y - 46, 30, 13, 3);
    fillAndOutline(cr, kCanopy, kOutline, 1.5);
    roundedRectPath(cr, cx - 30, y - 44, 19, 11, 3);
    fillAndOutline(cr, kCanopy, kOutline, 1.5);
    for (double wx : {cx - 24, cx + 24}) {
        outlinedEllipse(cr, wx, y - 10, 10, 10, kTyre, kOutline, 2);
        fillEllipse(cr, wx, y - 10, 4, 4, kStoneLight);
    }
    fillEllipse(cr, cx + 37, y - 24, 3, 2.5, kBeeLight);  // headlight
}

void paintBoat(cairo_t* cr, double cx) {
    const double waterY = kGroundY - 6;
    fillEllipse(cr, cx, waterY + 4, 54, 14, kWater);
    cairo_new_path(cr);  // hull
    cairo_move_to(cr, cx - 36, waterY - 12);
    cairo_line_to(cr, cx + 36, waterY - 12);
    cairo_line_to(cr, cx + 24, waterY + 4);
    cairo_line_to(cr, cx - 24, waterY + 4);
    cairo_close_path(cr);
    fillAndOutline(cr, kHull, kOutline, 2);
    strokeLine(cr, cx, waterY - 12, cx, waterY - 78, kSoilDark, 3);  // mast
    cairo_new_path(cr);
    cairo_move_to(cr, cx + 3, waterY - 76);
    cairo_line_to(cr, cx + 34, waterY - 18);
    cairo_line_to(cr, cx + 3, waterY - 18);
    cairo_close_path(cr);
    fillAndOutline(cr, kSail, kOutline, 1.8);
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 3, waterY - 64);
    cairo_line_to(cr, cx - 26, waterY - 18);
    cairo_line_to(cr, cx - 3, waterY - 18);
    cairo_close_path(cr);
    fillAndOutline(cr, kSkyHorizon, kOutline, 1.8);
    for (double wx : {cx - 40, cx + 20}) {
        cairo_new_path(cr);
        cairo_arc(cr, wx, waterY + 8, 8, 1.15 * M_PI, 1.85 * M_PI);
        setColour(cr, kWaterLight);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    }
}

void paintGirl(cairo_t* cr, double cx) {
    const double feet = kGroundY - 4;
    strokeLine(cr, cx - 7, feet - 30, cx - 8, feet, kSkin, 5);  // legs
    strokeLine(cr, cx + 7, feet - 30, cx + 8, feet, kSkin, 5);
    fillEllipse(cr, cx - 10, feet, 6, 3, kPlaneDarkRed);  // shoes
    fillEllipse(cr, cx + 10, feet, 6, 3, kPlaneDarkRed);
    strokeLine(cr, cx - 12, feet - 62, cx - 28, feet - 78, kSkin, 5);  // arms up, cheering
    strokeLine(cr, cx + 12, feet - 62, cx + 28, feet - 78, kSkin, 5);
    cairo_new_path(cr);  // dress
    cairo_move_to(cr, cx - 10, feet - 68);
    cairo_line_to(cr, cx + 10, feet - 68);
    cairo_line_to(cr, cx + 24, feet - 26);
    cairo_line_to(cr, cx - 24, feet - 26);
    cairo_close_path(cr);
    fillAndOutline(cr, kPink, kOutline, 2);
    const double headY = feet - 84;
    outlinedEllipse(cr, cx - 19, headY - 2, 6, 9, kHair, kOutline, 1.5);  // pigtails
    outlinedEllipse(cr, cx + 19, headY - 2, 6, 9, kHair, kOutline, 1.5);
    outlinedEllipse(cr, cx, headY, 16, 17, kSkin, kOutline, 2);
    cairo_new_path(cr);  // fringe
    cairo_arc(cr, cx, headY - 2, 16, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    fillAndOutline(cr, kHair, kOutline, 1.5);
    fillEllipse(cr, cx - 6, headY + 2, 2, 2.6, kOutline);
    fillEllipse(cr, cx + 6, headY + 2, 2, 2.6, kOutline);
    fillEllipse(cr, cx - 10, headY + 8, 3, 2, kCheek);
    fillEllipse(cr, cx + 10, headY + 8, 3, 2, kCheek);
    outlinedEllipse(cr, cx, headY + 10, 3.5, 3, kPlaneDarkRed, kOutline, 1);  // singing "a"
}

// The adult program's scrolling bars: green inside the band, grey below it.
void paintGraph(cairo_t* cr, double cx) {
    const double left = cx - 42, top = kGroundY - 84, w = 84, h = 74;
    roundedRectPath(cr, left, top, w, h, 6);
    fillAndOutline(cr, kCard, kOutline, 2);
    const double base = top + h - 10;
    strokeLine(cr, left + 8, top + 8, left + 8, base, kOutline, 1.5);
    strokeLine(cr, left + 8, base, left + w - 6, base, kOutline, 1.5);
    const double heights[] = {14, 22, 38, 46, 44, 48, 42, 18};
    for (int i = 0; i < 8; ++i) {
        const double bh = heights[i];
        cairo_rectangle(cr, left + 12 + i * 8.5, base - bh, 6, bh);
        setColour(cr, bh > 30 ? kBarGreen : kStone);
        cairo_fill(cr);
    }
    const double dashes[] = {3, 3};
    cairo_set_dash(cr, dashes, 2, 0);
    strokeLine(cr, left + 8, base - 30, left + w - 6, base - 30, kPlaneRed, 1.2);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void drawSplash(cairo_t* cr) {
    paintBackground(cr);
    paintTitle(cr);
    paintFlyingBee(cr, 14, 150);
    paintCar(cr, 150);
    paintBoat(cr, 256);
    paintGirl(cr, 358);
    paintGraph(cr, 458);
}

// The bee on a sky-blue disc: small, but still the suite's bee.
void drawIcon(cairo_t* cr) {
    fillEllipse(cr, 16, 16, 15.5, 15.5, kSkyTop);
    cairo_save(cr);
    cairo_translate(cr, 4, 2);
    cairo_scale(cr, 0.44, 0.44);
    paintBee(cr, 0);
    cairo_restore(cr);
}

}  // namespace

namespace artgen {

std::vector<tools::ImageFile> splashPictures() {
    Canvas splash(kWidth, kHeight), icon(32, 32);
    drawSplash(splash.cr());
    drawIcon(icon.cr());
    return {{"splash.bmp", tools::encodeBmp24(splash.surface())}, {"tavoral.ico", tools::encodeIco32(icon.surface())}};
}

}  // namespace artgen
