// Small path helpers on top of cairo.
#pragma once

#include "tools/artgen/palette.h"

#include <cairo.h>

namespace artgen {

// Adds an ellipse (rotated by angle radians) to the current path.
void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry, double angle = 0.0);

// Adds a w x h rectangle at (x, y) with corners rounded by r to the path.
void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r);

// Fills the current path, then strokes it with the outline; clears the path.
void fillAndOutline(cairo_t* cr, Rgb fill, Rgb outline, double lineWidth);

void fillEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb fill, double angle = 0.0);
void outlinedEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, Rgb fill, Rgb outline,
                     double lineWidth, double angle = 0.0);

void strokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, Rgb colour, double width);

// A round puffy cloud in a w x h box at (x, y): overlapping circles with a
// shaded belly; shape 0-2 picks one of three outlines.
void drawCloud(cairo_t* cr, double x, double y, double w, double h, int shape);

// A five-petal flower seen from the front, centred on (cx, cy).
void drawFlower(cairo_t* cr, double cx, double cy, double radius, Rgb petals, Rgb centre);

// The same on a short stem with one leaf, 12 pixels below the flower.
void drawStemmedFlower(cairo_t* cr, double cx, double cy, double radius, Rgb petals, Rgb centre);

// Fills the current path with a vertical gradient from `top` at y0 to
// `bottom` at y1 (plain colour beyond); clears the path.
void fillVertically(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom);

}  // namespace artgen
