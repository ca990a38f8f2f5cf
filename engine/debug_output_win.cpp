// Windows build: lines go to the debugger (DebugView, a debugger's output
// window); without a debugger they vanish, as the delivered programs want.
#include <windows.h>

#include "engine/trace.h"

namespace engine {

void writeDebugOutput(const char* text) {
    if (text != nullptr) OutputDebugStringA(text);
}

}  // namespace engine
