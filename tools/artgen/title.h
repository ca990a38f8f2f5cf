// The title picture "init.bmp", shown until Enter or a click starts play.
#pragma once

#include "tools/artgen/art_set.h"
#include "tools/artgen/bmp.h"

namespace artgen {

// The game's scenery, its hero large and its name.
IndexedImage drawTitle(Game game);

}  // namespace artgen
