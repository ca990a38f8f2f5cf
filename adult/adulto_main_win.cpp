// adulto: the adult program, the measurement drawn as a scrolling graph.
#include <windows.h>

#include "adult/adult_window_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return adult::RunAdult(instance); }
