#include "voice/intensity.h"

#include <array>
#include <cmath>
#include <vector>

namespace voice {
namespace {

int16_t g_preEmphasisMemory = 0;
std::array<float, 3> g_medianWindow{};
int32_t g_medianCount = 0;

// The 5-point window of a frame.  Computed per call like the measurement
// always did; it is five cosines, cheaper than any caching would be worth.
void hammingWeights(float* w, int32_t n) {
    const float step = static_cast<float>(8.0 * std::atan(1.0) / (n - 1));
    for (int32_t i = 0; i < n; ++i) {
        const float angle = static_cast<float>(static_cast<double>(i) * step);
        const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
        w[i] = static_cast<float>(0.54 - 0.46 * static_cast<double>(c));
    }
}

float weightedSum(const float* w, const float* v, int32_t n) {
    float sum = 0.0f;
    for (int32_t i = 0; i < n; ++i)
        sum = static_cast<float>(static_cast<double>(sum) +
                                 static_cast<double>(w[i]) * static_cast<double>(v[i]));
    return sum;
}

}  // namespace

IntensitySettings& intensitySettings() {
    static IntensitySettings settings;
    return settings;
}

void preEmphasize(int16_t* samples, int32_t count) {
    if (count <= 0) return;
    int16_t previous = g_preEmphasisMemory;
    for (int32_t i = 0; i < count; ++i) {
        const int16_t raw = samples[i];
        const double filtered = static_cast<double>(raw) - 0.96 * static_cast<double>(previous);
        const auto truncated = static_cast<int32_t>(filtered);  // toward zero
        samples[i] = static_cast<int16_t>(static_cast<uint16_t>(truncated));
        previous = raw;
    }
    g_preEmphasisMemory = previous;
}

float hammingSum(const float* values, int32_t count) {
    if (count <= 0) return 0.0f;
    std::vector<float> w(static_cast<size_t>(count));
    if (count == 1) {
        w[0] = 1.0f;  // a one-point window has no cosine to take
    } else {
        hammingWeights(w.data(), count);
    }
    return weightedSum(w.data(), values, count);
}

int32_t frameCount(int32_t count) {
    return hasMeasurableFrame(count) ? (count - kFrameLength) / kFrameStep + 1 : 0;
}

float measureIntensity(const int16_t* samples, int32_t count) {
    const int32_t frames = frameCount(count);
    if (frames == 0) return 0.0f;

    std::array<float, kFrameLength> w{};
    hammingWeights(w.data(), kFrameLength);

    float sum = 0.0f;
    for (int32_t k = 0; k < frames; ++k) {
        const int16_t* frame = samples + static_cast<ptrdiff_t>(k) * kFrameStep;
        std::array<float, kFrameLength> squares{};
        for (int j = 0; j < kFrameLength; ++j) {
            const double s = frame[j];
            squares[j] = static_cast<float>(s * s);
        }
        float energy = weightedSum(w.data(), squares.data(), kFrameLength);
        if (energy < 1.0f) energy = 1.0f;
        const float lg = static_cast<float>(std::log10(static_cast<double>(energy)));
        const float level = static_cast<float>(10.0 * static_cast<double>(lg));
        sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(level));
    }
    return static_cast<float>(static_cast<double>(sum) / frames);
}

std::optional<float> measureBuffer(int16_t* samples, int32_t count) {
    if (!hasMeasurableFrame(count)) return std::nullopt;
    preEmphasize(samples, count);
    return measureIntensity(samples, count);
}

float smoothIntensity(float level) {
    g_medianWindow[static_cast<size_t>(g_medianCount)] = level;
    ++g_medianCount;
    if (g_medianCount < 3) return level;

    std::array<float, 3> sorted = g_medianWindow;
    for (size_t i = 1; i < sorted.size(); ++i) {
        const float v = sorted[i];
        size_t j = i;
        while (j > 0 && sorted[j - 1] > v) {
            sorted[j] = sorted[j - 1];
            --j;
        }
        sorted[j] = v;
    }
    g_medianWindow[0] = g_medianWindow[1];
    g_medianWindow[1] = g_medianWindow[2];
    g_medianCount = 2;
    return sorted[1];
}

void resetSmoothing() { g_medianCount = 0; }

bool isInBand(float level, const IntensitySettings& settings) {
    const float width = settings.maxDb - settings.minDb;
    float rel = level - settings.minDb;
    if (rel < 0.0f) rel = 0.0f;
    if (rel > width) rel = 0.0f;
    if (level <= static_cast<float>(settings.noiseDb)) rel = 0.0f;
    return rel != 0.0f;
}

void setPreEmphasisMemory(int16_t value) { g_preEmphasisMemory = value; }
int16_t preEmphasisMemory() { return g_preEmphasisMemory; }

}  // namespace voice
