// The engine over time: starting and stopping the graphics, the start-up
// with its splash picture, setting a game up and tearing it down, one
// frame, and the recovery after the surfaces' memory was lost.
//
// The program installs its GameHooks (game_hooks.h) and sets
// displayObjects().window before InitGraphics.
#pragma once

#include <cstdint>

#include "engine/bitmap.h"

namespace engine {

// Opens the display and creates the surfaces (releasing everything,
// DirectDraw included, when the surfaces fail), installs the back buffer as
// the blit target, shows the splash if there is one.
bool gfxBegin();
// Frees every bitmap, forgets the splash, removes the blit target and
// releases the surfaces; the DirectDraw objects stay for the next gfxBegin.
bool gfxEnd();
// handle = gfxBegin(); a failure ends the program ("gfxBegin failed").
int CreateBuffer(int32_t& handle);
// gfxEnd; a failure there ends the program.
int DestroyBuffer(int32_t handle);

// Draws the splash picture over the window's client area (the whole screen
// in full-screen).  False when there is no splash or it could not be shown.
bool gfxShowSplash();
const GfxBitmap* gfxSplash();

// Shows the composed back buffer: one GDI copy to the window (windowed at
// the frame's size), one Blt to presentRect (windowed and scaled, or on a
// palette screen), or the half-view stretch and a Flip (full-screen).
bool gfxPresent();
// Refills the bitmaps whose surfaces were lost (every one when a refill was
// put off), then clears the screen.
bool gfxRestoreAll();
// Restores the front, back and stretch buffers and the HUD's surfaces, then
// refills the bitmaps.  False when any of them is missing or not restored.
bool RestoreDisplay();

// Graphics start-up: tears down what exists, starts the graphics for the
// display request in displayConfig(), creates the palette at 8 bits, shows
// "init.bmp" of the art file, creates the HUD.  False only when the 8-bit
// palette cannot be made; a failing gfxBegin ends the program.
bool InitGraphics();
// Releases the HUD surfaces and the palette, then TeardownGame.
void ReleaseGraphics();
// Loads the bitmap set, builds the tile list, the three planes and the
// sprites.  False when the bitmap set cannot be loaded.
bool SetupGame();
// Undoes SetupGame and stops the graphics (nothing when they are not
// started).
void TeardownGame();
// True between a successful SetupGame and the next TeardownGame: the
// sprites' frames point at live bitmaps only then.
bool gfxGameIsSetUp();
// One frame: restores lost surfaces (pausing when that fails), then runs
// the scene step while playing a game that is set up.  Returns true.
bool RenderFrame();

}  // namespace engine
