#include "menu/run_result.h"

namespace menu {

bool isResultOfThisRun(const FileStamp& before, const FileStamp& after, int64_t startTime) {
    if (!after.exists || after.writeTime < startTime - kFileTimeSlack) return false;
    const bool untouched = before.exists && before.writeTime == after.writeTime && before.size == after.size;
    return !untouched;
}

}  // namespace menu
