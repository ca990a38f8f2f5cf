// gui_kx: the suite's main menu.
#include "menu/menu_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return menu::RunMenu(instance); }
