#include "voice/trace.h"

#include <cstdarg>
#include <cstdio>

namespace voice {
namespace {
TraceSink g_sink = nullptr;
}

void trace(const char* format, ...) {
    if (g_sink == nullptr) return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    g_sink(line);
}

TraceSink setTraceSink(TraceSink sink) {
    TraceSink previous = g_sink;
    g_sink = sink;
    return previous;
}

}  // namespace voice
