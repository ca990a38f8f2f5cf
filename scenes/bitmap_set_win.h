// The game's pictures from its art file: tiles 051-170 into slots 50-169,
// the sprite pictures from slot 170 on.
#pragma once

#include <vector>

#include "engine/bitmap.h"
#include "scenes/scene_description.h"

namespace scenes {

// False when the art file cannot be opened: the user has been told and
// the program is asked to quit.  A single missing picture leaves its slot
// empty.
bool LoadBitmapSet(const SceneDescription& scene, std::vector<const engine::GfxBitmap*>& set);

}  // namespace scenes
