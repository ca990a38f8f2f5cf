// abelha: the bee game.
#include "shell/game_win.h"

namespace {
const shell::GameProgram kAbelha = {
    scenes::beeScene(),
    true,                 // reports microphone controls it could not set up
    {true, true, false},  // volume messages shown; traces silent
    false,                // black window background
};
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return shell::RunGame(instance, kAbelha); }
