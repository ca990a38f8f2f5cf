// The phonation timer of one recording.
//
// A phonation is timed on the clock of the recording that heard it: the
// position of its buffers in that recording, which no slow handler can
// stretch.  Every start of the capture begins a new session whose clock
// starts at zero; a stop request (a phonation taken, a menu command, the
// window closing) closes it.  Buffers the stopped device still hands back
// then neither start nor end a phonation, so a start read on one
// recording's clock can never be set against an end read on the next one's.
//
//   idle       open, no phonation running    entry into the band -> running
//   running    open, a phonation started     leaving the band: <= 2000 ms -> idle,
//                                            longer -> taken (capture asked to stop)
//   taken      closed, a time waiting        takeResult() -> closed
//   closed     stop requested                begin() -> idle
#pragma once

#include <cstdint>
#include <optional>

namespace phonation {

inline constexpr uint32_t kShortestPhonationMs = 2000;  // exactly 2000 does not count

// What taking a phonation asks of the program.
class IPhonationEvents {
public:
    virtual void renderFrame() = 0;  // show the final state
    virtual void requestStop() = 0;  // stop the capture
protected:
    ~IPhonationEvents() = default;
};

enum class SessionState { Closed, Idle, Running, Taken };

class CaptureSession {
public:
    // A recording started: nothing is timed yet and no result is pending.
    void begin();
    // A stop was requested: this recording's remaining buffers time
    // nothing.  A result already taken stays until takeResult().
    void close();
    SessionState state() const { return state_; }
    bool open() const { return state_ == SessionState::Idle || state_ == SessionState::Running; }

    // The voice entered the band at `nowMs` of this recording.
    void enterBand(uint32_t nowMs);
    // The voice left the band: a phonation longer than two seconds is
    // taken (one last frame, the capture asked to stop, the session
    // closed); either way the timer stops.  True when taken.
    bool leaveBand(uint32_t nowMs, IPhonationEvents& events);
    // "Reiniciar Tempo": the running phonation is forgotten.
    void resetTimer() {
        if (state_ == SessionState::Running) state_ = SessionState::Idle;
    }

    bool running() const { return state_ == SessionState::Running; }
    // Milliseconds shown by the HUD and the time box: the running
    // phonation, or 0.
    uint32_t runningMs(uint32_t nowMs) const;
    bool resultPending() const { return state_ == SessionState::Taken; }

    // When the capture has closed: the time taken in this session, once.
    std::optional<float> takeResult();
    // Where on the recording's clock the phonation takeResult last gave
    // started (its sound is kept from there).
    uint32_t takenStartMs() const { return phonationStart_; }

private:
    SessionState state_ = SessionState::Closed;
    uint32_t phonationStart_ = 0;  // ms on this recording's clock, while running
    float elapsedMs_ = 0.0f;       // the time taken, while taken
};

}  // namespace phonation
