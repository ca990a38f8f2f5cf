#include "menu/run_result.h"

namespace menu {

bool isResultOfThisRun(const FileStamp& before, const FileStamp& after) {
    if (!after.exists) return false;
    const bool untouched = before.exists && before.writeTime == after.writeTime && before.size == after.size;
    return !untouched;
}

}  // namespace menu
