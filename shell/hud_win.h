// The HUD over the scene: the running phonation time at the top left and
// the intensity meter with the band limits at the bottom right, drawn with
// GDI into two colour-keyed surfaces and copied onto the back buffer.
#pragma once

#include <cstdint>

namespace shell {

// Fonts, brushes and both surfaces; false when a surface is missing.
bool CreateHud();
// Draws both panels and copies them onto the back buffer.
void DrawHud(int32_t elapsedMs, float levelDb);
// The surfaces go with the graphics; the fonts and brushes at the end.
void ReleaseHudSurfaces();
bool RestoreHudSurfaces();
void DeleteHudObjects();

}  // namespace shell
