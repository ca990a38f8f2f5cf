// The result file: the confirmed time as 8 ASCII characters ("00:07:35"),
// no line end, in the current directory.  It exists only after the
// therapist confirmed a time in this run.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace phonation {

// How the text reaches the open file; tests pass one that fails the way a
// full disk does.
using ResultWriter = std::size_t (*)(const void* data, std::size_t size, std::size_t count, std::FILE* file);

// Creates or truncates the file and writes the text.  False when the file
// cannot be created, written or closed: a result must never be reported
// as saved when it is not on disk.  A failed write leaves no partial file;
// only a regular file is ever removed for that, never a device or a folder
// that happens to carry the name.
bool writeResultFile(const std::string& path, const std::string& text, ResultWriter write = std::fwrite);

// The sound of the confirmed phonation, written the same way (binary) just
// before the result file, so a result never stands beside another run's
// sound: "abelha.wav" beside "abelha.dat".
bool writeSoundFile(const std::string& path, const std::string& bytes, ResultWriter write = std::fwrite);
std::string soundFileFor(const std::string& resultFile);

// Removes a result (or a sound) left by an earlier run; a missing file is fine, and
// anything but a regular file is left alone.
void removeResultFile(const std::string& path);

}  // namespace phonation
