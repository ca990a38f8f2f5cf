// barco: the boat game.
#include "shell/game_win.h"

namespace {
const shell::GameProgram kProgram = {
    .scene = scenes::boatScene(),
    .reportVolumeSetUpFailure = false,
    .volumeMessages = {.reportMissingMicrophone = false, .reportSetFailure = false, .trace = false},
    .whiteBackground = false,  // black window background
};
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return shell::RunGame(instance, kProgram); }
