// The phonation timer: a phonation counts once the voice has stayed in the
// band for more than two seconds; the first such phonation ends the
// capture and waits for the therapist to confirm it.
#pragma once

#include <cstdint>

#include "shell/shell_state.h"

namespace shell {

inline constexpr uint32_t kShortestPhonationMs = 2000;  // exactly 2000 does not count

// What the end of a phonation asks of the program.
class IPhonationEvents {
public:
    virtual uint32_t now() = 0;          // the system tick count, ms
    virtual void renderFrame() = 0;      // show the final state
    virtual void requestStop() = 0;      // stop the capture
protected:
    ~IPhonationEvents() = default;
};

// The voice entered the band.
void startPhonation(ShellState& state, uint32_t now);

// The voice left the band: a phonation longer than two seconds is taken
// (elapsedMs, one last frame, resultPending, the capture asked to stop);
// either way the timer stops.  True when taken.
bool endPhonation(ShellState& state, uint32_t now, IPhonationEvents& events);

// Milliseconds shown by the HUD: the running phonation, or 0.
uint32_t runningPhonationMs(const ShellState& state, uint32_t now);

}  // namespace shell
