#include "tools/artgen/sprites.h"

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"
#include "tools/artgen/shapes.h"

#include <array>
#include <cmath>

namespace artgen {
namespace {

using namespace colours;

constexpr double kLine = 1.6;

struct WingPose {
    double angle;    // from straight up, radians; negative leans back
    double length;   // long radius
};

// Idle frames flutter a little; flying frames beat up, back, flat.
constexpr WingPose kWingPoses[kBeeFrames] = {
    {-0.30, 12.0}, {-0.12, 12.5}, {0.05, 15.0}, {-0.75, 15.0}, {-1.35, 13.0},
};

void paintWings(cairo_t* cr, double bodyX, WingPose pose) {
    const double baseX = bodyX + 19, baseY = 33;
    auto wing = [&](double angle, double scale, Rgb fill) {
        // The wing grows from its base, so its centre lies along its tilt.
        const double reach = pose.length * scale * 0.92;
        const double cx = baseX + std::sin(angle) * reach, cy = baseY - std::cos(angle) * reach;
        outlinedEllipse(cr, cx, cy, pose.length * 0.55 * scale, pose.length * scale, fill, kWingEdge, 1.3, angle);
    };
    wing(pose.angle - 0.4, 0.85, kWingBack);
    wing(pose.angle, 1.0, kWing);
}

void paintBody(cairo_t* cr, double bodyX) {
    // Stinger first, so the body's outline covers its base.
    cairo_new_path(cr);
    cairo_move_to(cr, bodyX + 2.5, 43);
    cairo_line_to(cr, bodyX + 9, 38.5);
    cairo_line_to(cr, bodyX + 9, 47.5);
    cairo_close_path(cr);
    fillAndOutline(cr, kOutline, kOutline, 1.0);

    ellipsePath(cr, bodyX + 22, 43, 15.5, 12.5);
    setColour(cr, kBeeYellow);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    // A lighter back and two black stripes, clipped to the body.
    fillEllipse(cr, bodyX + 22, 38, 11, 5, kBeeLight);
    for (double sx : {bodyX + 14.0, bodyX + 24.0}) {
        cairo_new_path(cr);
        cairo_move_to(cr, sx, 28);
        cairo_curve_to(cr, sx + 2.5, 38, sx + 2.5, 48, sx, 58);
        cairo_line_to(cr, sx + 5, 58);
        cairo_curve_to(cr, sx + 7.5, 48, sx + 7.5, 38, sx + 5, 28);
        cairo_close_path(cr);
        setColour(cr, kOutline);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    ellipsePath(cr, bodyX + 22, 43, 15.5, 12.5);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, kLine);
    cairo_stroke(cr);
}

void paintLegs(cairo_t* cr, double bodyX, bool flying) {
    const double lean = flying ? -3 : 0;
    for (double lx : {bodyX + 16.0, bodyX + 23.0, bodyX + 30.0})
        strokeLine(cr, lx, 54, lx - 1.5 + lean, 60, kOutline, 1.6);
}

void paintHead(cairo_t* cr, double bodyX) {
    const double hx = bodyX + 36.5, hy = 37;
    // Antennae with round tips.
    for (const auto& a : {std::array<double, 4>{-3, -8, -6, -23}, std::array<double, 4>{2, -8, 6, -22}}) {
        cairo_new_path(cr);
        cairo_move_to(cr, hx + a[0], hy + a[1]);
        cairo_curve_to(cr, hx + a[0], hy + a[1] - 6, hx + a[2], hy + a[3] + 6, hx + a[2], hy + a[3]);
        setColour(cr, kOutline);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        outlinedEllipse(cr, hx + a[2], hy + a[3], 2.2, 2.2, kOutline, kOutline, 0.5);
    }
    outlinedEllipse(cr, hx, hy, 9.5, 9.5, kBeeYellow, kOutline, kLine);
    // Big friendly eye looking ahead, a smile and a rosy cheek.
    outlinedEllipse(cr, hx + 3.5, hy - 2.5, 3.6, 4.6, kEyeWhite, kOutline, 1.0);
    fillEllipse(cr, hx + 4.8, hy - 2.0, 2.1, 2.7, kOutline);
    fillEllipse(cr, hx + 5.4, hy - 3.2, 0.8, 0.8, kEyeWhite);
    fillEllipse(cr, hx - 2.5, hy + 3.5, 2.2, 1.6, kCheek);
    cairo_new_path(cr);
    cairo_arc(cr, hx + 3.5, hy + 2.0, 4.0, 0.35 * M_PI, 0.85 * M_PI);
    setColour(cr, kOutline);
    cairo_set_line_width(cr, 1.3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void paintSpeedLines(cairo_t* cr) {
    for (double y : {36.0, 44.0, 52.0}) strokeLine(cr, 1.5, y, 7.0, y, kWingEdge, 1.4);
}

}  // namespace

int beeFrameWidth(int frame) { return frame < 2 ? kBeeIdleWidth : kBeeFlyingWidth; }

void paintBee(cairo_t* cr, int frame) {
    const bool flying = frame >= 2;
    // Flying frames are wider: the bee sits further right, speed lines behind.
    const double bodyX = flying ? 8.0 : 0.0;
    if (flying) paintSpeedLines(cr);
    paintLegs(cr, bodyX, flying);
    paintBody(cr, bodyX);
    paintWings(cr, bodyX, kWingPoses[frame]);
    paintHead(cr, bodyX);
}

IndexedImage drawBeeFrame(int frame) {
    Canvas canvas(beeFrameWidth(frame), kBeeHeight);
    paintBee(canvas.cr(), frame);
    return quantizeWithTransparency(canvas);
}

IndexedImage drawFly() {
    Canvas canvas(kFlySize, kFlySize);
    cairo_t* cr = canvas.cr();
    for (double lx : {16.0, 21.0, 26.0}) strokeLine(cr, lx, 27, lx + 2, 33, kOutline, 1.4);
    outlinedEllipse(cr, 22, 22, 11, 8, kFlyBody, kOutline, 1.5);
    strokeLine(cr, 20, 16, 20, 28, kFlyStripe, 1.2);
    strokeLine(cr, 25, 16, 25, 28, kFlyStripe, 1.2);
    outlinedEllipse(cr, 25, 10, 5.5, 9.5, kWingBack, kWingEdge, 1.2, 0.5);
    outlinedEllipse(cr, 19, 11, 5.0, 9.0, kWing, kWingEdge, 1.2, -0.2);
    // The head looks left, the way the fly travels: big red eyes and a smile.
    outlinedEllipse(cr, 10, 22, 7.5, 7.5, kFlyHead, kOutline, 1.5);
    outlinedEllipse(cr, 7, 19, 4.2, 4.6, kFlyEye, kOutline, 1.0);
    outlinedEllipse(cr, 13, 18.5, 3.6, 4.2, kFlyEye, kOutline, 1.0);
    fillEllipse(cr, 6, 17.5, 1.3, 1.3, kEyeWhite);
    fillEllipse(cr, 12, 17, 1.1, 1.1, kEyeWhite);
    cairo_new_path(cr);
    cairo_arc(cr, 8.5, 24.5, 3.0, 0.2 * M_PI, 0.8 * M_PI);
    setColour(cr, kEyeWhite);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    return quantizeWithTransparency(canvas);
}

IndexedImage drawAeroplane(int frame) {
    Canvas canvas(kAeroplaneSize, kAeroplaneSize);
    cairo_t* cr = canvas.cr();
    // Tail fin and tailplane.
    cairo_new_path(cr);
    cairo_move_to(cr, 6, 34);
    cairo_line_to(cr, 5, 16);
    cairo_line_to(cr, 12, 16);
    cairo_line_to(cr, 22, 32);
    cairo_close_path(cr);
    fillAndOutline(cr, kPlaneRed, kOutline, 1.5);
    outlinedEllipse(cr, 10, 36, 7, 2.6, kPlaneDarkRed, kOutline, 1.3);
    // Fuselage: a rounded body narrowing to the tail.
    cairo_new_path(cr);
    cairo_move_to(cr, 6, 32);
    cairo_curve_to(cr, 20, 26, 34, 24, 50, 26);
    cairo_curve_to(cr, 57, 27, 57, 43, 50, 44);
    cairo_curve_to(cr, 34, 46, 20, 44, 6, 38);
    cairo_close_path(cr);
    fillAndOutline(cr, kPlaneRed, kOutline, 1.6);
    strokeLine(cr, 12, 35, 48, 35, kBeeLight, 2.4);
    // Cockpit with a smiling pilot.
    cairo_new_path(cr);
    cairo_move_to(cr, 30, 27);
    cairo_curve_to(cr, 31, 16, 43, 16, 44, 26);
    cairo_close_path(cr);
    fillAndOutline(cr, kCanopy, kOutline, 1.3);
    outlinedEllipse(cr, 37, 22, 3.8, 3.8, kSkin, kOutline, 1.0);
    fillEllipse(cr, 38.6, 21.3, 0.9, 0.9, kOutline);
    // Wing across the middle.
    outlinedEllipse(cr, 32, 39, 12, 4, kBeeYellow, kOutline, 1.4, -0.12);
    // Nose cone and the propeller: a long blade, then a blurred short one.
    outlinedEllipse(cr, 56, 35, 3.2, 4.2, kBeeYellow, kOutline, 1.2);
    if (frame == 0)
        outlinedEllipse(cr, 59.5, 35, 2.2, 15, kPropeller, kOutline, 1.2);
    else
        outlinedEllipse(cr, 59.5, 35, 2.0, 6, kPropellerBlur, kOutline, 1.2);
    // Wheels.
    strokeLine(cr, 40, 44, 42, 50, kOutline, 1.6);
    outlinedEllipse(cr, 42, 52, 3.2, 3.2, kTyre, kOutline, 1.2);
    return quantizeWithTransparency(canvas);
}

}  // namespace artgen
