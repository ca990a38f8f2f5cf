#include "adult/measurement.h"

namespace adult {

BufferOutcome measureBuffer(float level, phonation::CaptureSession& session, voice::IntensitySettings& settings,
                            uint32_t nowMs, phonation::IPhonationEvents& events) {
    const float smoothed = voice::smoothIntensity(level);
    settings.currentDb = smoothed;
    BufferOutcome outcome;
    outcome.inBand = voice::isInBand(smoothed, settings);
    if (outcome.inBand && !session.running())
        session.enterBand(nowMs);
    else if (!outcome.inBand && session.running())
        session.leaveBand(nowMs, events);
    // While nobody phonates the box shows a zero time.
    if (!session.resultPending()) outcome.timeBoxMs = session.runningMs(nowMs);
    return outcome;
}

}  // namespace adult
