#include "tools/artgen/game_sprites.h"

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/shapes.h"

#include <cmath>

namespace artgen {
namespace {

using namespace colours;

constexpr Rgb kCarRed{226, 40, 40};
constexpr Rgb kWindow{170, 214, 246};
constexpr Rgb kHub{196, 192, 196};
constexpr Rgb kLamp{255, 234, 110};
constexpr Rgb kExhaust{196, 198, 210};
constexpr Rgb kSailYellow{255, 208, 32};
constexpr Rgb kSailOrange{250, 150, 40};
constexpr Rgb kHullBlue{36, 48, 112};
constexpr Rgb kDeck{168, 114, 64};
constexpr Rgb kSpray{200, 230, 252};
constexpr Rgb kFinGrey{120, 122, 130};
constexpr Rgb kWater{50, 115, 210};
constexpr Rgb kGlass{70, 150, 54};
constexpr Rgb kCork{168, 114, 64};
constexpr Rgb kPaper{246, 232, 180};
constexpr Rgb kDolphinBlue{84, 92, 160};
constexpr Rgb kDolphinBelly{188, 190, 228};
constexpr Rgb kPelicanBody{210, 214, 226};
constexpr Rgb kPelicanWing{150, 152, 160};
constexpr Rgb kHair{112, 70, 36};
constexpr Rgb kDress{244, 120, 190};
constexpr Rgb kShoe{226, 40, 40};
constexpr Rgb kDogBrown{200, 150, 95};
constexpr Rgb kDogDark{112, 70, 36};
constexpr Rgb kCatOrange{250, 150, 40};
constexpr Rgb kCatLight{255, 205, 170};

constexpr double kLine = 1.6;

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void smile(cairo_t* cr, double cx, double cy, double r, double width) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0.2 * M_PI, 0.8 * M_PI);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

// A face looking ahead: one eye with a highlight and a smile.
void eye(cairo_t* cr, double cx, double cy, double r) {
    fillEllipse(cr, cx, cy, r, r * 1.2, kOutline);
    fillEllipse(cr, cx + r * 0.35, cy - r * 0.4, r * 0.35, r * 0.35, kEyeWhite);
}

void wheel(cairo_t* cr, double cx, double cy, double r, double turn) {
    outlinedEllipse(cr, cx, cy, r, r, kTyre, kOutline, 1.4);
    outlinedEllipse(cr, cx, cy, r * 0.5, r * 0.5, kHub, kOutline, 1.0);
    for (int i = 0; i < 3; ++i) {
        const double a = turn + i * 2 * M_PI / 3;
        strokeLine(cr, cx, cy, cx + std::cos(a) * r * 0.45, cy + std::sin(a) * r * 0.45, kOutline, 1.2);
    }
}

template <typename Paint>
IndexedImage spriteOf(int width, int height, Paint paint) {
    Canvas canvas(width, height);
    paint(canvas.cr());
    return quantizeWithTransparency(canvas);
}

}  // namespace

// ---- the car -----------------------------------------------------------------------

void paintCar(cairo_t* cr, int frame) {
    const bool driving = frame > 0;
    if (driving)  // puffs behind the exhaust
        for (int i = 0; i < 2; ++i)
            outlinedEllipse(cr, 5 + i * 5 - frame, 32 - i * 4, 3.5 + i, 3 + i, kExhaust, kWingEdge, 0.8);
    // Body: a rounded box with the cabin on top.
    cairo_new_path(cr);
    cairo_move_to(cr, 30, 19);
    cairo_curve_to(cr, 36, 4, 44, 3, 60, 3);
    cairo_line_to(cr, 72, 3);
    cairo_curve_to(cr, 82, 3, 88, 8, 94, 19);
    cairo_close_path(cr);
    fillAndOutline(cr, kCarRed, kOutline, kLine);
    roundedRect(cr, 8, 18, 108, 20, 8);
    fillAndOutline(cr, kCarRed, kOutline, kLine);
    // Windows with a smiling driver.
    cairo_new_path(cr);
    cairo_move_to(cr, 36, 19);
    cairo_curve_to(cr, 40, 9, 46, 7, 58, 7);
    cairo_line_to(cr, 58, 19);
    cairo_close_path(cr);
    fillAndOutline(cr, kWindow, kOutline, 1.2);
    cairo_new_path(cr);
    cairo_move_to(cr, 63, 7);
    cairo_line_to(cr, 72, 7);
    cairo_curve_to(cr, 79, 7, 83, 10, 87, 19);
    cairo_line_to(cr, 63, 19);
    cairo_close_path(cr);
    fillAndOutline(cr, kWindow, kOutline, 1.2);
    outlinedEllipse(cr, 72, 14, 4.5, 4.5, kSkin, kOutline, 1.0);
    eye(cr, 74, 13, 0.9);
    // Stripe, lamps and the wheels.
    strokeLine(cr, 14, 27, 110, 27, kBeeLight, 2.4);
    outlinedEllipse(cr, 112, 24, 3, 3.5, kLamp, kOutline, 1.0);
    outlinedEllipse(cr, 11, 23, 2, 3, kRed, kOutline, 1.0);
    const double turn = frame * M_PI / 3;
    wheel(cr, 30, 37, 9, turn);
    wheel(cr, 92, 37, 9, turn);
}

IndexedImage drawCar(int frame) {
    return spriteOf(kCarWidth, kCarHeight, [frame](cairo_t* cr) { paintCar(cr, frame); });
}

IndexedImage drawBlimp() {
    return spriteOf(kBlimpWidth, kBlimpHeight, [](cairo_t* cr) {
        // Tail fins, the envelope with a band, the gondola underneath.
        cairo_new_path(cr);
        cairo_move_to(cr, 12, 12);
        cairo_line_to(cr, 2, 3);
        cairo_line_to(cr, 9, 3);
        cairo_line_to(cr, 18, 10);
        cairo_close_path(cr);
        fillAndOutline(cr, kPlaneRed, kOutline, 1.2);
        cairo_new_path(cr);
        cairo_move_to(cr, 12, 16);
        cairo_line_to(cr, 2, 25);
        cairo_line_to(cr, 9, 25);
        cairo_line_to(cr, 18, 18);
        cairo_close_path(cr);
        fillAndOutline(cr, kPlaneRed, kOutline, 1.2);
        outlinedEllipse(cr, 38, 14, 30, 11, kBeeYellow, kOutline, 1.5);
        strokeLine(cr, 28, 5, 28, 23, kPlaneRed, 3);
        strokeLine(cr, 48, 4, 48, 24, kPlaneRed, 3);
        roundedRect(cr, 30, 24, 16, 6, 2);
        fillAndOutline(cr, kPlaneDarkRed, kOutline, 1.0);
        eye(cr, 58, 11, 1.6);
        smile(cr, 57, 14, 3.5, 1.2);
    });
}

// ---- the boat and the sea ------------------------------------------------------------

void paintBoat(cairo_t* cr, int frame) {
    const bool sailing = frame >= 2;
    // Rocking: the idle frames lean a little one way and the other.
    const double lean = sailing ? 0.0 : (frame == 0 ? -0.03 : 0.03);
    const double billow = sailing ? (frame - 2) * 3.0 : 0.0;
    cairo_save(cr);
    cairo_translate(cr, 50, 80);
    cairo_rotate(cr, lean);
    cairo_translate(cr, -50, -80);
    strokeLine(cr, 46, 8, 46, 66, kDeck, 3);
    // The main sail and the jib, striped, filling with wind when sailing.
    cairo_new_path(cr);
    cairo_move_to(cr, 44, 10);
    cairo_curve_to(cr, 30 - billow, 30, 20 - billow, 48, 14, 62);
    cairo_line_to(cr, 44, 62);
    cairo_close_path(cr);
    fillAndOutline(cr, kSailYellow, kOutline, 1.4);
    for (double y : {26.0, 42.0}) strokeLine(cr, 44 - (y - 10) * 0.5, y, 44, y, kSailOrange, 5);
    cairo_new_path(cr);
    cairo_move_to(cr, 49, 14);
    cairo_curve_to(cr, 60 + billow, 30, 68 + billow, 44, 80, 60);
    cairo_line_to(cr, 49, 60);
    cairo_close_path(cr);
    fillAndOutline(cr, kSailOrange, kOutline, 1.4);
    // A flag on the mast top.
    cairo_new_path(cr);
    cairo_move_to(cr, 46, 3);
    cairo_line_to(cr, 58, 6 + (frame % 2) * 2);
    cairo_line_to(cr, 46, 10);
    cairo_close_path(cr);
    fillAndOutline(cr, kRed, kOutline, 1.0);
    // Hull with portholes.
    cairo_new_path(cr);
    cairo_move_to(cr, 4, 64);
    cairo_line_to(cr, 96, 64);
    cairo_curve_to(cr, 90, 76, 84, 82, 76, 82);
    cairo_line_to(cr, 22, 82);
    cairo_curve_to(cr, 14, 82, 8, 76, 4, 64);
    cairo_close_path(cr);
    fillAndOutline(cr, kHullBlue, kOutline, kLine);
    strokeLine(cr, 6, 67, 94, 67, kRed, 3);
    for (double x : {30.0, 50.0, 70.0}) outlinedEllipse(cr, x, 74, 3, 3, kWindow, kOutline, 1.0);
    cairo_restore(cr);
    if (sailing)  // spray at the bow
        for (int i = 0; i < 3; ++i)
            fillEllipse(cr, 90 + i * 3 + frame, 80 - i * 4 - frame, 2.5, 2, kSpray);
    // The water line it floats in.
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 84);
    for (int x = 0; x <= 100; x += 2) cairo_line_to(cr, x, 84 + 2 * std::sin(x / 6.0 + frame));
    cairo_line_to(cr, 100, 91);
    cairo_line_to(cr, 0, 91);
    cairo_close_path(cr);
    setColour(cr, kWater);
    cairo_fill(cr);
}

IndexedImage drawBoat(int frame) {
    return spriteOf(kBoatWidth, kBoatHeight, [frame](cairo_t* cr) { paintBoat(cr, frame); });
}

IndexedImage drawFin() {
    return spriteOf(kFinWidth, kFinHeight, [](cairo_t* cr) {
        cairo_new_path(cr);
        cairo_move_to(cr, 3, 19);
        cairo_curve_to(cr, 8, 12, 10, 5, 9, 1);
        cairo_curve_to(cr, 16, 6, 21, 13, 23, 19);
        cairo_close_path(cr);
        fillAndOutline(cr, kFinGrey, kOutline, 1.3);
        cairo_new_path(cr);
        cairo_move_to(cr, 0, 19);
        for (int x = 0; x <= 26; ++x) cairo_line_to(cr, x, 19 + std::sin(x / 2.0));
        cairo_line_to(cr, 26, 23);
        cairo_line_to(cr, 0, 23);
        cairo_close_path(cr);
        setColour(cr, kWater);
        cairo_fill(cr);
    });
}

IndexedImage drawBottle() {
    return spriteOf(kBottleWidth, kBottleHeight, [](cairo_t* cr) {
        // Lying on the water, neck to the left, a message inside.
        cairo_new_path(cr);
        cairo_move_to(cr, 4, 7);
        cairo_line_to(cr, 14, 7);
        cairo_curve_to(cr, 18, 3, 22, 2, 26, 2);
        cairo_line_to(cr, 46, 2);
        cairo_curve_to(cr, 50, 2, 50, 16, 46, 16);
        cairo_line_to(cr, 26, 16);
        cairo_curve_to(cr, 22, 16, 18, 15, 14, 11);
        cairo_line_to(cr, 4, 11);
        cairo_close_path(cr);
        fillAndOutline(cr, kGlass, kOutline, 1.3);
        roundedRect(cr, 1, 6, 5, 6, 1.5);
        fillAndOutline(cr, kCork, kOutline, 1.0);
        roundedRect(cr, 26, 5, 16, 8, 2);
        fillAndOutline(cr, kPaper, kOutline, 0.8);
        strokeLine(cr, 29, 9, 39, 9, kHair, 1.0);
        strokeLine(cr, 28, 4, 44, 4, kGrassLight, 1.2);  // the glass shines
    });
}

IndexedImage drawDolphin(int frame) {
    return spriteOf(kDolphinWidth, kDolphinHeight, [frame](cairo_t* cr) {
        // One leap, heading left: nose up, flat over the top, nose down.
        const double angle = -0.55 + frame * 0.22;
        const double lift = 8 * std::sin(M_PI * frame / (kDolphinFrames - 1));
        cairo_save(cr);
        cairo_translate(cr, 30, 20 - lift);
        cairo_rotate(cr, angle);
        // Tail flukes, dorsal fin, body, belly, beak.
        cairo_new_path(cr);
        cairo_move_to(cr, 18, 0);
        cairo_line_to(cr, 28, -6);
        cairo_line_to(cr, 25, 0);
        cairo_line_to(cr, 28, 6);
        cairo_close_path(cr);
        fillAndOutline(cr, kDolphinBlue, kOutline, 1.2);
        cairo_new_path(cr);
        cairo_move_to(cr, -2, -7);
        cairo_line_to(cr, 4, -13);
        cairo_line_to(cr, 7, -6);
        cairo_close_path(cr);
        fillAndOutline(cr, kDolphinBlue, kOutline, 1.2);
        outlinedEllipse(cr, 0, 0, 20, 7.5, kDolphinBlue, kOutline, 1.4);
        fillEllipse(cr, -2, 3.5, 14, 3, kDolphinBelly);
        outlinedEllipse(cr, -22, 1, 5, 2.2, kDolphinBlue, kOutline, 1.1);
        eye(cr, -12, -2, 1.3);
        smile(cr, -15, -1, 3, 1.0);
        cairo_restore(cr);
        if (frame == 0 || frame == kDolphinFrames - 1)  // the splash where it leaves or meets the water
            for (int i = 0; i < 3; ++i) fillEllipse(cr, 22 + i * 8, 31 - (i % 2) * 2, 3, 2, kSpray);
    });
}

IndexedImage drawPelican(int frame) {
    return spriteOf(kPelicanWidth, kPelicanHeight, [frame](cairo_t* cr) {
        // Flying right, wings up, level, down.
        const double wingTip = 6 + frame * 16;
        cairo_new_path(cr);
        cairo_move_to(cr, 30, 26);
        cairo_curve_to(cr, 24, wingTip, 12, wingTip, 4, wingTip + 4);
        cairo_curve_to(cr, 20, wingTip + 8, 34, 30, 44, 28);
        cairo_close_path(cr);
        fillAndOutline(cr, kPelicanWing, kOutline, 1.3);
        outlinedEllipse(cr, 40, 30, 18, 9, kPelicanBody, kOutline, 1.4);
        outlinedEllipse(cr, 60, 22, 7, 6.5, kPelicanBody, kOutline, 1.3);
        // The big beak with its pouch.
        cairo_new_path(cr);
        cairo_move_to(cr, 65, 20);
        cairo_line_to(cr, 88, 24);
        cairo_curve_to(cr, 80, 32, 72, 32, 64, 26);
        cairo_close_path(cr);
        fillAndOutline(cr, kOrange, kOutline, 1.2);
        eye(cr, 62, 20, 1.3);
        strokeLine(cr, 24, 36, 18, 40, kOrange, 2.2);
    });
}

// ---- the girl, the dog and the cat ------------------------------------------------------

void paintGirl(cairo_t* cr, int frame) {
    // Walking right.  Legs and arms swing with the step; the last picture waves.
    const double swing = frame == 1 ? 9 : frame == 2 ? -9 : 0;
    const bool waving = frame == 3;
    auto leg = [&](double dx) {
        strokeLine(cr, 46, 86, 46 + dx, 110, kSkin, 5);
        outlinedEllipse(cr, 48 + dx, 112, 6, 3.5, kShoe, kOutline, 1.1);
    };
    leg(-swing);
    leg(swing);
    strokeLine(cr, 40, 54, 36 + swing, 76, kSkin, 4.5);  // the far arm, behind the dress
    // Dress.
    cairo_new_path(cr);
    cairo_move_to(cr, 38, 48);
    cairo_line_to(cr, 54, 48);
    cairo_line_to(cr, 66, 90);
    cairo_line_to(cr, 26, 90);
    cairo_close_path(cr);
    fillAndOutline(cr, kDress, kOutline, kLine);
    for (double x : {36.0, 46.0, 56.0}) fillEllipse(cr, x, 78, 2.5, 2.5, kBeeLight);
    // The near arm, in front.
    if (waving)
        strokeLine(cr, 54, 52, 70, 34, kSkin, 4.5);
    else
        strokeLine(cr, 54, 52, 60 - swing, 74, kSkin, 4.5);
    // Head with hair and two pigtails.
    outlinedEllipse(cr, 30, 30, 6, 9, kHair, kOutline, 1.2, 0.4);
    outlinedEllipse(cr, 46, 28, 17, 18, kHair, kOutline, 1.4);
    outlinedEllipse(cr, 50, 32, 14, 14, kSkin, kOutline, 1.4);
    cairo_new_path(cr);
    cairo_arc(cr, 48, 24, 15, M_PI * 1.05, M_PI * 1.95);
    cairo_close_path(cr);
    setColour(cr, kHair);
    cairo_fill(cr);
    outlinedEllipse(cr, 44, 12, 5, 3.5, kRed, kOutline, 1.0);  // a bow
    eye(cr, 57, 30, 2.0);
    fillEllipse(cr, 52, 37, 3, 2, kCheek);
    smile(cr, 57, 34, 5, 1.4);
}

IndexedImage drawGirl(int frame) {
    return spriteOf(kGirlWidth, kGirlHeight, [frame](cairo_t* cr) { paintGirl(cr, frame); });
}

IndexedImage drawDog(int frame) {
    return spriteOf(kDogWidth, kDogHeight, [frame](cairo_t* cr) {
        // Trotting left.
        const double step = (frame - 1) * 7.0;
        for (double x : {16.0, 50.0}) {
            strokeLine(cr, x, 32, x - step, 48, kDogBrown, 5);
            strokeLine(cr, x + 6, 32, x + 6 + step, 48, kDogDark, 5);
        }
        // Tail up and wagging.
        strokeLine(cr, 60, 24, 70, 10 + frame * 3, kDogBrown, 4);
        outlinedEllipse(cr, 38, 28, 24, 10, kDogBrown, kOutline, 1.4);
        outlinedEllipse(cr, 14, 16, 11, 10, kDogBrown, kOutline, 1.4);
        outlinedEllipse(cr, 4, 20, 5, 4, kDogBrown, kOutline, 1.2);  // snout
        fillEllipse(cr, 1, 18.5, 2, 1.6, kOutline);                  // nose
        outlinedEllipse(cr, 20, 16, 4, 9, kDogDark, kOutline, 1.1, 0.3);  // ear
        eye(cr, 10, 13, 1.5);
        outlinedEllipse(cr, 6, 26, 2.5, 3, kRed, kOutline, 0.8);  // tongue
        strokeLine(cr, 20, 24, 23, 30, kRed, 2.5);                // collar
    });
}

IndexedImage drawCat(int frame) {
    return spriteOf(kCatWidth, kCatHeight, [frame](cairo_t* cr) {
        // Sitting, facing us; the tail swishes, the last picture blinks.
        const double tail = std::sin(frame * M_PI / 2) * 8;
        cairo_new_path(cr);
        cairo_move_to(cr, 44, 42);
        cairo_curve_to(cr, 60, 42, 64, 30, 62 + tail, 14);
        setColour(cr, kOutline);
        cairo_set_line_width(cr, 6.5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke_preserve(cr);
        setColour(cr, kCatOrange);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        outlinedEllipse(cr, 36, 33, 14, 12, kCatOrange, kOutline, 1.4);
        fillEllipse(cr, 36, 36, 7, 7, kCatLight);
        for (double side : {-1.0, 1.0}) {
            cairo_new_path(cr);
            cairo_move_to(cr, 36 + side * 4, 8);
            cairo_line_to(cr, 36 + side * 12, 1);
            cairo_line_to(cr, 36 + side * 13, 12);
            cairo_close_path(cr);
            fillAndOutline(cr, kCatOrange, kOutline, 1.2);
        }
        outlinedEllipse(cr, 36, 14, 12, 10, kCatOrange, kOutline, 1.4);
        for (double side : {-1.0, 1.0}) {
            if (frame == kCatFrames - 1)
                strokeLine(cr, 36 + side * 6, 12, 36 + side * 3, 12, kOutline, 1.2);
            else
                eye(cr, 36 + side * 4.5, 12, 1.6);
            strokeLine(cr, 36 + side * 5, 17, 36 + side * 14, 15, kOutline, 0.8);
        }
        fillEllipse(cr, 36, 16, 1.6, 1.2, kPink);
        smile(cr, 36, 16, 2.5, 1.0);
    });
}

}  // namespace artgen
