// The ffpack command: "ffpack OUT.ff FILE..." packs the files into an art
// archive, each under its base name.  An argument "@LIST" stands for the
// files named in LIST, one path a line, which is how the build hands over a
// set of pictures whose names only the art generator knows.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ff {

// args excludes the program name.  Returns the process exit code: 0 when
// the archive was written, 1 with a message on err otherwise.  A failed run
// never leaves a partial archive behind under the output name.
int runFfpack(const std::vector<std::string>& args, std::ostream& err);

}  // namespace ff
