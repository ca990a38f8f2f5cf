// One run of a measurement program at a time.  Two runs of the same
// program would share the microphone and the one result file, each
// removing or overwriting the other's time; the second run is refused.
#pragma once

namespace phonation {

// Claims the program's run for this process until it ends; false (after
// telling the user) when another run of `program` is already open.
bool claimOnlyRun(const char* program);

}  // namespace phonation
