// What one captured buffer does to the adult program's measurement: the
// smoothed level, the band test, the phonation timer.  The panel draws
// what it says.
#pragma once

#include <cstdint>
#include <optional>

#include "phonation/capture_session.h"
#include "voice/intensity.h"

namespace adult {

struct BufferOutcome {
    bool inBand = false;                 // a bar is added
    std::optional<uint32_t> timeBoxMs;   // the time box shows this; nothing once a phonation was taken
};

// `level` is the buffer's measured intensity, `nowMs` where the buffer lies
// on the recording's own clock.  A phonation longer than two seconds that
// ends here is taken: `events` is asked to stop the capture.
BufferOutcome measureBuffer(float level, phonation::CaptureSession& session, voice::IntensitySettings& settings,
                            uint32_t nowMs, phonation::IPhonationEvents& events);

}  // namespace adult
