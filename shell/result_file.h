// The result file: the confirmed time as 8 ASCII characters ("00:07:35"),
// no line end, in the current directory.  It exists only after the
// therapist confirmed a time in this run.
#pragma once

#include <string>

namespace shell {

// Creates or truncates the file and writes the text.  False when the file
// cannot be created, written or closed: a result must never be reported
// as saved when it is not on disk.  A failed write leaves no partial file.
bool writeResultFile(const std::string& path, const std::string& text);

// Removes a result left by an earlier run; a missing file is fine.
void removeResultFile(const std::string& path);

}  // namespace shell
