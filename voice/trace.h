// Diagnostic trace of the voice input.  Silent in the delivered programs;
// tests (and a debug build) install a sink to read the lines.
#pragma once

#include <string>

namespace voice {

using TraceSink = void (*)(const std::string& line);

// printf-style; the line is formatted only when a sink is installed.
void trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

TraceSink setTraceSink(TraceSink sink);

}  // namespace voice
