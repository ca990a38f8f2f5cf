// menina: the girl game.
#include "shell/game_win.h"

namespace {
const shell::GameProgram kProgram = {
    .scene = scenes::girlScene(),
    .reportVolumeSetUpFailure = false,
    .volumeMessages = {.reportMissingMicrophone = false, .reportSetFailure = false, .trace = false},
    .whiteBackground = true,  // white window background
};
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return shell::RunGame(instance, kProgram); }
