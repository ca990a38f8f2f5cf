// The title picture "init.bmp", shown until Enter or a click starts play.
#pragma once

#include "tools/artgen/bmp.h"

namespace artgen {

IndexedImage drawTitle();

}  // namespace artgen
