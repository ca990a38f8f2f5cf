#include "voice/calibration.h"

#include "voice/intensity.h"

namespace voice {

std::optional<int> parseBandValue(std::string_view text, int low, int high) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > high) return std::nullopt;  // also stops any overflow
    }
    if (value < low) return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int32_t> noiseThreshold(float levelSum, int32_t bufferCount) {
    if (bufferCount <= 0) return std::nullopt;
    const float mean = static_cast<float>(static_cast<double>(levelSum) / bufferCount);
    return static_cast<int32_t>(static_cast<double>(mean) + 4.0);
}

float recordedSeconds(int64_t bytesRecorded) {
    return static_cast<float>(static_cast<double>(bytesRecorded / 2) / static_cast<double>(kSampleRate));
}

int trackbarPositionForVolume(uint32_t volume, uint32_t maximum) {
    if (maximum == 0) return kTrackbarRange;
    double share = static_cast<double>(volume) / static_cast<double>(maximum);
    if (share > 1.0) share = 1.0;
    return kTrackbarRange - static_cast<int>(share * kTrackbarRange);
}

int64_t volumeForTrackbar(int position, int64_t maximum) {
    return maximum - static_cast<int64_t>(position) * maximum / kTrackbarRange;
}

}  // namespace voice
