#include "phonation/capture_session.h"

namespace phonation {

void CaptureSession::begin() {
    open_ = true;
    phonationStart_.reset();
    elapsedMs_ = 0.0f;
    resultPending_ = false;
}

void CaptureSession::close() {
    open_ = false;
    phonationStart_.reset();
}

void CaptureSession::enterBand(uint32_t nowMs) {
    if (open_) phonationStart_ = nowMs;
}

bool CaptureSession::leaveBand(uint32_t nowMs, IPhonationEvents& events) {
    if (!open_ || !phonationStart_) {
        phonationStart_.reset();
        return false;
    }
    const uint32_t lengthMs = nowMs - *phonationStart_;
    phonationStart_.reset();
    if (lengthMs <= kShortestPhonationMs) return false;
    elapsedMs_ = static_cast<float>(lengthMs);
    resultPending_ = true;
    events.renderFrame();
    close();
    events.requestStop();
    return true;
}

uint32_t CaptureSession::runningMs(uint32_t nowMs) const {
    return phonationStart_ ? nowMs - *phonationStart_ : 0;
}

std::optional<float> CaptureSession::takeResult() {
    if (!resultPending_) return std::nullopt;
    resultPending_ = false;
    return elapsedMs_;
}

}  // namespace phonation
