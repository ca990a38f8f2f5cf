// Whether an exercise left a result of the run the menu just watched.
// Each exercise removes an older result file as it starts and writes a new
// one only when the therapist confirmed a time; the file's time tells a new
// result from one that an exercise failed to remove.
#pragma once

#include <cstdint>

namespace menu {

// A result file as seen before the start and after the end of a run.
struct FileStamp {
    bool exists = false;
    int64_t writeTime = 0;  // 100 ns units of the system clock
    int64_t size = 0;
};

// Write times on some file systems are rounded (2 s on FAT), so a file
// written just after the start can look a little older than the start.
inline constexpr int64_t kFileTimeSlack = 2 * 10'000'000;

// True when the file after the run was written during it: it exists, it
// is not the very file that was there before, and it is not older than
// the start allowing for the file system's rounding.
bool isResultOfThisRun(const FileStamp& before, const FileStamp& after, int64_t startTime);

}  // namespace menu
