// The Jogo menu's commands, the same in the games and the adult program
// (resources/common/game_menu.rc carries the same numbers).  The test
// driver sends them as a therapist's menu choices.
#pragma once

namespace voice {

enum MenuCommand : int {
    kCmdExit = 32771,
    kCmdNoise = 32772,
    kCmdIntensity = 32773,
    kCmdMicrophone = 32774,
    kCmdRestartTimer = 32775,
};

}  // namespace voice
