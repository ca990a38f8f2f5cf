// Whether a mixer's volume control really sets the level: the volume is
// moved by one of the control's steps and read back.  Mixers differ in
// what they read back: some keep exactly what was written, some round to
// their own steps (the mixer emulation of current Windows among them), and
// some accept a value and keep nothing (Wine's microphone line).
#pragma once

#include <cstdint>
#include <functional>

namespace voice {

struct VolumeRange {
    uint32_t minimum = 0;
    uint32_t maximum = 0;
    uint32_t steps = 0;  // the control's step count; 0 when it gives none
};

// The size of one of the control's steps, at least one unit.
uint32_t volumeStep(const VolumeRange& range);

// Moves the volume by one step, reads it back and puts the old value back.
// A read-back that moved away from the old value and lies within one step
// of the value written means the control keeps values.  `get` returns a
// negative number when the control cannot be read.
bool controlKeepsValues(const VolumeRange& range, const std::function<int64_t()>& get,
                        const std::function<void(uint32_t)>& set);

}  // namespace voice
