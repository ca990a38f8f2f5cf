#include "tools/artgen/shapes.h"

#include "tools/artgen/canvas.h"
#include "tools/artgen/colours.h"

#include <cmath>

namespace artgen {

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry, double angle) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fillAndOutline(cairo_t* cr, Rgb fill, Rgb outline, double lineWidth) {
    setColour(cr, fill);
    cairo_fill_preserve(cr);
    setColour(cr, outline);
    cairo_set_line_width(cr, lineWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void fillEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb fill, double angle) {
    ellipsePath(cr, cx, cy, rx, ry, angle);
    setColour(cr, fill);
    cairo_fill(cr);
}

void outlinedEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb fill, Rgb outline,
                     double lineWidth, double angle) {
    ellipsePath(cr, cx, cy, rx, ry, angle);
    fillAndOutline(cr, fill, outline, lineWidth);
}

void strokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, Rgb colour, double width) {
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    setColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void drawCloud(cairo_t* cr, double x, double y, double w, double h, int shape) {
    // Puffs as fractions of the box: centre x, centre y, radius (of h).
    // Every puff stays inside the box.
    static constexpr double kShapes[3][5][3] = {
        {{0.22, 0.66, 0.30}, {0.40, 0.44, 0.38}, {0.62, 0.40, 0.34}, {0.80, 0.62, 0.28}, {0.50, 0.68, 0.30}},
        {{0.20, 0.64, 0.32}, {0.36, 0.48, 0.34}, {0.56, 0.38, 0.36}, {0.78, 0.58, 0.32}, {0.55, 0.66, 0.32}},
        {{0.24, 0.60, 0.34}, {0.46, 0.42, 0.40}, {0.68, 0.52, 0.34}, {0.84, 0.68, 0.24}, {0.40, 0.70, 0.28}},
    };
    const auto& kPuffs = kShapes[shape % 3];
    auto puffs = [&](double dy, double grow) {
        cairo_new_path(cr);
        for (const auto& p : kPuffs) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x + p[0] * w, y + p[1] * h + dy, p[2] * h + grow, 0, 2 * M_PI);
        }
    };
    puffs(0, 0);
    setColour(cr, colours::kCloudShade);
    cairo_fill(cr);
    puffs(-0.07 * h, -0.04 * h);
    setColour(cr, colours::kCloud);
    cairo_fill(cr);
}

void drawFlower(cairo_t* cr, double cx, double cy, double radius, Rgb petals, Rgb centre) {
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + i * 2 * M_PI / 5;
        outlinedEllipse(cr, cx + std::cos(a) * radius * 0.55, cy + std::sin(a) * radius * 0.55, radius * 0.48,
                        radius * 0.34, petals, colours::kOutline, 0.8, a);
    }
    outlinedEllipse(cr, cx, cy, radius * 0.32, radius * 0.32, centre, colours::kOutline, 0.8);
}

void drawStemmedFlower(cairo_t* cr, double cx, double cy, double radius, Rgb petals, Rgb centre) {
    strokeLine(cr, cx, cy, cx, cy + 12, colours::kGrassDark, 1.6);
    fillEllipse(cr, cx + 3.5, cy + 9, 3.2, 1.5, colours::kGrassDark, -0.5);
    drawFlower(cr, cx, cy, radius, petals, centre);
}

void fillVertically(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(gradient, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(gradient, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

}  // namespace artgen
