// Host build: the debugger output is standard error.
#include <cstdio>

#include "engine/trace.h"

namespace engine {

void writeDebugOutput(const char* text) {
    if (text == nullptr) return;
    std::fputs(text, stderr);
    std::fflush(stderr);
}

}  // namespace engine
