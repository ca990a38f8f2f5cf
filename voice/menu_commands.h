// The Jogo menu's commands as the code names them; the numbers are the
// resource script's.
#pragma once

#include "resources/common/game_menu_ids.h"

namespace voice {

enum MenuCommand : int {
    kCmdExit = IDM_GAME_EXIT,
    kCmdNoise = IDM_GAME_NOISE,
    kCmdIntensity = IDM_GAME_INTENSITY,
    kCmdMicrophone = IDM_GAME_MICROPHONE,
    kCmdRestartTimer = IDM_GAME_RESTART_TIMER,
};

}  // namespace voice
