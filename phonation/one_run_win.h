// One run of a measurement program at a time.  Two runs of the same
// program would share the microphone and the one result file, each
// removing or overwriting the other's time; the second run is refused.
#pragma once

#include <windows.h>

namespace phonation {

// Claims the program's run while it lives; claimed() is false (and the
// user has been told) when another run of `program` is already open.
class OnlyRun {
public:
    explicit OnlyRun(const char* program);
    ~OnlyRun();
    OnlyRun(const OnlyRun&) = delete;
    OnlyRun& operator=(const OnlyRun&) = delete;
    bool claimed() const { return mutex_ != nullptr; }

private:
    HANDLE mutex_ = nullptr;
};

}  // namespace phonation
