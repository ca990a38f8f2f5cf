// Diagnostic trace and fatal exit of the engine.
//
// The trace is silent unless a sink is installed: the delivered programs
// install none, a debug build or a test installs one to see the lines.
// The fatal exit writes one line to the debugger output (stderr on the host),
// lets the graphics shut down and ends the process with exit code 0.
#pragma once

#include <cstddef>

namespace engine {

using TraceSink = void (*)(const char* line);

// Installs the receiver of trace lines (nullptr: silent); returns the
// previous one so a test can put it back.
TraceSink gfxSetTraceSink(TraceSink sink);

// printf-style; lines longer than 255 characters are cut.
void gfxTrace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Where the fatal line goes and what runs before the process ends.  The
// default writer is the debugger output; the DirectDraw layer installs its
// gfxEnd as the end hook.
using FatalWriter = void (*)(const char* text);
using FatalEndHook = void (*)();
void gfxSetFatalWriter(FatalWriter writer);   // nullptr: the default writer
void gfxSetFatalEndHook(FatalEndHook hook);   // nullptr: none

// The line gfxFatal writes: "FATAL ERROR: <message>\r\n" in `size` bytes.
// A message too long for the buffer is cut so that the line still ends in
// "\r\n" and the text stays NUL-terminated.
void formatFatalLine(char* out, size_t size, const char* message);
inline constexpr size_t kFatalLineSize = 128;

[[noreturn]] void gfxFatal(const char* message);

// The platform's debugger output (OutputDebugStringA on Windows, stderr on
// the host).
void writeDebugOutput(const char* text);

}  // namespace engine
