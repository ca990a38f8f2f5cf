#include "phonation/capture_session.h"

namespace phonation {

void CaptureSession::begin() {
    state_ = SessionState::Idle;
    elapsedMs_ = 0.0f;
}

void CaptureSession::close() {
    if (state_ != SessionState::Taken) state_ = SessionState::Closed;
}

void CaptureSession::enterBand(uint32_t nowMs) {
    if (!open()) return;
    state_ = SessionState::Running;
    phonationStart_ = nowMs;
}

bool CaptureSession::leaveBand(uint32_t nowMs, IPhonationEvents& events) {
    if (state_ != SessionState::Running) return false;
    state_ = SessionState::Idle;
    const uint32_t lengthMs = nowMs - phonationStart_;
    if (lengthMs <= kShortestPhonationMs) return false;
    elapsedMs_ = static_cast<float>(lengthMs);
    state_ = SessionState::Taken;
    events.renderFrame();
    events.requestStop();
    return true;
}

uint32_t CaptureSession::runningMs(uint32_t nowMs) const {
    return state_ == SessionState::Running ? nowMs - phonationStart_ : 0;
}

std::optional<float> CaptureSession::takeResult() {
    if (state_ != SessionState::Taken) return std::nullopt;
    state_ = SessionState::Closed;
    return elapsedMs_;
}

}  // namespace phonation
