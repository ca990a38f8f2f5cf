#include "tools/artgen/title.h"

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/scenery.h"
#include "tools/artgen/shapes.h"
#include "tools/artgen/game_sprites.h"
#include "tools/artgen/sprites.h"

#include <cmath>

namespace artgen {
namespace {

using namespace colours;

void paintSun(cairo_t* cr, double cx, double cy, double r) {
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        strokeLine(cr, cx + std::cos(a) * (r + 8), cy + std::sin(a) * (r + 8), cx + std::cos(a) * (r + 22),
                   cy + std::sin(a) * (r + 22), kOrange, 5);
    }
    outlinedEllipse(cr, cx, cy, r, r, kBeeYellow, kOrange, 4);
    // A smiling sun.
    fillEllipse(cr, cx - 12, cy - 6, 4, 5, kOutline);
    fillEllipse(cr, cx + 12, cy - 6, 4, 5, kOutline);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy + 2, 16, 0.2 * M_PI, 0.8 * M_PI);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void paintRollingHill(cairo_t* cr, double baseY, double amplitude, double wavelength, double phase, Rgb colour) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, kScreenHeight);
    for (int x = 0; x <= kScreenWidth; x += 4)
        cairo_line_to(cr, x, baseY - amplitude * std::sin(2 * M_PI * x / wavelength + phase));
    cairo_line_to(cr, kScreenWidth, kScreenHeight);
    cairo_close_path(cr);
    setColour(cr, colour);
    cairo_fill(cr);
}

void paintSkyAndSun(cairo_t* cr) {
    paintSky(cr, kScreenWidth, kScreenHeight, 400);
    paintSun(cr, 584, 60, 30);
    drawCloud(cr, 30, 30, 150, 80, 0);
    drawCloud(cr, 360, 200, 120, 60, 2);
}

void paintLandscape(cairo_t* cr) {
    paintSkyAndSun(cr);
    paintRollingHill(cr, 380, 22, 420, 0.8, kHillShade);
    paintRollingHill(cr, 410, 18, 300, 2.4, kHill);
    for (int i = 0; i < 9; ++i) {
        const double x = 30 + i * 72, y = 440 + (i % 2) * 16;
        drawFlower(cr, x, y, 13, i % 3 == 0 ? kRed : i % 3 == 1 ? kPink : kPurple, kBeeYellow);
    }
}

// A big flower on the right for the bee to fly to.
void paintBigFlower(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, 530, 420);
    cairo_curve_to(cr, 520, 380, 540, 340, 528, 300);
    setColour(cr, kGrassDark);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
    outlinedEllipse(cr, 548, 368, 18, 8, kHill, kGrassDark, 2, -0.5);
    outlinedEllipse(cr, 508, 384, 16, 7, kHill, kGrassDark, 2, 0.5);
    drawFlower(cr, 528, 290, 44, kPink, kBeeYellow);
    // It smiles back.
    fillEllipse(cr, 521, 286, 2.2, 3, kOutline);
    fillEllipse(cr, 535, 286, 2.2, 3, kOutline);
    cairo_new_path(cr);
    cairo_arc(cr, 528, 290, 7, 0.2 * M_PI, 0.8 * M_PI);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

// A dotted loop behind the bee, as if it had just flown in.
void paintFlightTrail(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, -10, 330);
    cairo_curve_to(cr, 40, 250, 120, 390, 90, 320);
    cairo_curve_to(cr, 70, 270, 110, 260, 130, 290);
    const double dashes[] = {2, 12};
    cairo_set_dash(cr, dashes, 2, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 5);
    setColour(cr, kNavy);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

template <typename Paint>
void paintLarge(cairo_t* cr, double x, double y, double scale, Paint paint) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    paint(cr);
    cairo_restore(cr);
}

void paintStreet(cairo_t* cr) {
    const Rgb walls[] = {{250, 180, 30}, {150, 100, 220}, {130, 215, 215}, {244, 120, 190}, {255, 175, 70}};
    for (int i = 0; i < 8; ++i) {
        const double x = i * 84 - 10, top = 250 + (i * 37) % 70;
        cairo_rectangle(cr, x, top, 74, 380 - top);
        fillAndOutline(cr, walls[i % 5], kOutline, 2);
        for (double wy = top + 14; wy < 360; wy += 30)
            for (double wx : {x + 12, x + 44}) {
                cairo_rectangle(cr, wx, wy, 16, 18);
                fillAndOutline(cr, kBeeLight, kOutline, 1.5);
            }
    }
    cairo_rectangle(cr, 0, 372, kScreenWidth, kScreenHeight - 372);
    setColour(cr, kTyre);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 372, kScreenWidth, 10);
    fillAndOutline(cr, kStoneLight, kOutline, 2);
}

void paintSea(cairo_t* cr) {
    cairo_rectangle(cr, 0, 300, kScreenWidth, kScreenHeight - 300);
    fillVertically(cr, 300, {70, 150, 220}, 480, {30, 85, 170});
    for (int i = 0; i < 12; ++i) strokeLine(cr, 20 + i * 53, 330 + (i % 3) * 40, 50 + i * 53, 330 + (i % 3) * 40, kWing, 3);
}

void paintHero(cairo_t* cr, Game game) {
    switch (game) {
    case Game::Abelha:
        paintBigFlower(cr);
        paintFlightTrail(cr);
        paintLarge(cr, 120, 160, 3.2, [](cairo_t* c) { paintBee(c, 3); });
        break;
    case Game::Carro: paintLarge(cr, 140, 250, 3.0, [](cairo_t* c) { paintCar(c, 1); }); break;
    case Game::Barco: paintLarge(cr, 190, 150, 2.6, [](cairo_t* c) { paintBoat(c, 3); }); break;
    case Game::Menina: paintLarge(cr, 470, 188, 1.6, [](cairo_t* c) { paintGirl(c, 3); }); break;
    }
}

void paintScenery(cairo_t* cr, Game game) {
    switch (game) {
    case Game::Abelha:
    case Game::Menina: paintLandscape(cr); break;
    case Game::Carro:
        paintSkyAndSun(cr);
        paintStreet(cr);
        break;
    case Game::Barco:
        paintSkyAndSun(cr);
        paintSea(cr);
        break;
    }
}

struct TitleName {
    const char* text;
    Rgb colour;
};

TitleName titleName(Game game) {
    switch (game) {
    case Game::Abelha: return {"Abelha", kBeeYellow};
    case Game::Carro: return {"Carro", kPlaneRed};
    case Game::Barco: return {"Barco", kOrange};
    case Game::Menina: break;
    }
    return {"Menina", kPink};
}

void paintTexts(cairo_t* cr, Game game) {
    const TitleName name = titleName(game);
    selectTextFont(cr, 96);
    drawOutlinedText(cr, name.text, 306, 118, name.colour, kOutline, 12);
    selectTextFont(cr, 40);
    drawOutlinedText(cr, "Tempo Expiratório", 306, 178, kNavy, kCloud, 8);

    cairo_new_path(cr);
    const double x = 40, y = 382, w = 560, r = 26;  // a 52-pixel-high banner
    cairo_arc(cr, x + r, y + r, r, M_PI / 2, 3 * M_PI / 2);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, M_PI / 2);
    cairo_close_path(cr);
    fillAndOutline(cr, kBeeLight, kOutline, 3);
    selectTextFont(cr, 23);
    drawOutlinedText(cr, "Pressione Enter ou clique para começar", 320, 416, kNavy, kBeeLight, 1);
}

}  // namespace

IndexedImage drawTitle(Game game) {
    Canvas canvas(kScreenWidth, kScreenHeight);
    cairo_t* cr = canvas.cr();
    paintScenery(cr, game);
    paintHero(cr, game);
    paintTexts(cr, game);
    return quantizeOpaque(canvas);
}

}  // namespace artgen
