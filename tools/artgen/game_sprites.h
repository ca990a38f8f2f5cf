// The sprites of the car, boat and girl games, each the size its game's
// frame table asks for.  All face the way they travel.
#pragma once

#include "tools/artgen/bmp.h"

#include <cairo.h>

namespace artgen {

inline constexpr int kCarWidth = 120, kCarHeight = 47, kCarFrames = 3;  // carro1 parked, carro2-3 driving
inline constexpr int kBlimpWidth = 70, kBlimpHeight = 32;
inline constexpr int kBoatWidth = 100, kBoatHeight = 91, kBoatFrames = 5;  // b0-1 rocking, b2-4 sailing
inline constexpr int kFinWidth = 26, kFinHeight = 23;
inline constexpr int kBottleWidth = 51, kBottleHeight = 19;
inline constexpr int kDolphinWidth = 60, kDolphinHeight = 35, kDolphinFrames = 6;  // one leap
inline constexpr int kPelicanWidth = 90, kPelicanHeight = 50, kPelicanFrames = 3;  // wing beat
inline constexpr int kGirlWidth = 92, kGirlHeight = 120, kGirlFrames = 4;  // girl0 standing, 1-2 walking, 3 waving
inline constexpr int kDogWidth = 73, kDogHeight = 52, kDogFrames = 3;      // trotting
inline constexpr int kCatWidth = 73, kCatHeight = 47, kCatFrames = 5;      // tail swish, then a blink

// Painted in the frame's own coordinates; the title pictures reuse them.
void paintCar(cairo_t* cr, int frame);
void paintBoat(cairo_t* cr, int frame);
void paintGirl(cairo_t* cr, int frame);

IndexedImage drawCar(int frame);
IndexedImage drawBlimp();
IndexedImage drawBoat(int frame);
IndexedImage drawFin();
IndexedImage drawBottle();
IndexedImage drawDolphin(int frame);
IndexedImage drawPelican(int frame);
IndexedImage drawGirl(int frame);
IndexedImage drawDog(int frame);
IndexedImage drawCat(int frame);

}  // namespace artgen
