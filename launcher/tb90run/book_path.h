// Where the runtime stand-in finds the book it is asked to open.
#pragma once

#include <string>
#include <string_view>

namespace tb90run {

// The book is a program beside the runtime: `book` must be a plain file
// name (no folder, drive or stream, not "." or "..").  Returns the book's
// full path in the folder of `runtimePath`, or an empty string when
// `book` is not a plain file name or the runtime's path has no folder.
std::wstring bookPathBeside(std::wstring_view runtimePath, std::wstring_view book);

}  // namespace tb90run
