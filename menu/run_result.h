// Whether an exercise left a result of the run the menu just watched.
// Each exercise removes an older result file as it starts and writes a new
// one only when the therapist confirmed a time.  A result is told from one
// that an exercise failed to remove by the file itself, never by the
// clock: Windows may set the clock back while an exercise runs, and a
// time confirmed then is still this run's.
#pragma once

#include <cstdint>

namespace menu {

// A result file as seen before the start and after the end of a run.
struct FileStamp {
    bool exists = false;
    int64_t writeTime = 0;  // 100 ns units of the file system's clock
    int64_t size = 0;
};

// True when the file after the run is not the one seen before it: present
// now and absent then, or written again (another write time or size).
bool isResultOfThisRun(const FileStamp& before, const FileStamp& after);

}  // namespace menu
