// abelha: the bee game.
#include "shell/game_win.h"

namespace {
const shell::GameProgram kProgram = {
    .scene = scenes::beeScene(),
    .reportVolumeSetUpFailure = true,
    .volumeMessages = {.reportMissingMicrophone = true, .reportSetFailure = true, .trace = false},
    .whiteBackground = false,  // black window background
};
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return shell::RunGame(instance, kProgram); }
