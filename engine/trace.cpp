#include "engine/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace engine {
namespace {

TraceSink g_traceSink = nullptr;
FatalWriter g_fatalWriter = nullptr;
FatalEndHook g_fatalEndHook = nullptr;
bool g_inFatal = false;

}  // namespace

TraceSink gfxSetTraceSink(TraceSink sink) {
    const TraceSink previous = g_traceSink;
    g_traceSink = sink;
    return previous;
}

void gfxTrace(const char* format, ...) {
    if (g_traceSink == nullptr || format == nullptr) return;
    char line[256];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (written < 0) return;
    g_traceSink(line);
}

void gfxSetFatalWriter(FatalWriter writer) { g_fatalWriter = writer; }
void gfxSetFatalEndHook(FatalEndHook hook) { g_fatalEndHook = hook; }

void formatFatalLine(char* out, size_t size, const char* message) {
    static constexpr char kPrefix[] = "FATAL ERROR: ";
    static constexpr char kEnd[] = "\r\n";
    if (out == nullptr || size == 0) return;
    const size_t fixed = sizeof kPrefix - 1 + sizeof kEnd - 1 + 1;
    if (size < fixed) {
        out[0] = '\0';
        return;
    }
    // The precision keeps the line end inside the buffer whatever the
    // message length; a plain "%s" would lose "\r\n" (or, with sprintf,
    // write past the buffer).
    const int room = static_cast<int>(size - fixed);
    std::snprintf(out, size, "%s%.*s%s", kPrefix, room, message != nullptr ? message : "", kEnd);
}

void gfxFatal(const char* message) {
    char line[kFatalLineSize];
    formatFatalLine(line, sizeof line, message);
    (g_fatalWriter != nullptr ? g_fatalWriter : writeDebugOutput)(line);
    // gfxEnd may itself fail fatally; the nested call must not run it again.
    if (!g_inFatal && g_fatalEndHook != nullptr) {
        g_inFatal = true;
        g_fatalEndHook();
    }
    std::exit(0);
}

}  // namespace engine
