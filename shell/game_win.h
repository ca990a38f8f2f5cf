// The game programs: one code path, four descriptions.
#pragma once

#include <windows.h>

#include "scenes/scene_description.h"
#include "voice/volume_win.h"

namespace shell {

struct GameProgram {
    const scenes::SceneDescription& scene;
    // The bee game tells the therapist when the microphone controls could
    // not be set up; the others go on silently.
    bool reportVolumeSetUpFailure;
    voice::VolumeMessages volumeMessages;
    bool whiteBackground;  // the girl's window
};

// The whole program: start-up, the noise measurement, the title, play,
// the confirmation of the time.  Returns the exit code.
int RunGame(HINSTANCE instance, const GameProgram& program);

}  // namespace shell
