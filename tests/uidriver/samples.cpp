#include "samples.h"

#include <algorithm>
#include <cmath>

namespace uidriver {
namespace {

constexpr double kTwoPi = 6.283185307179586;

size_t sampleCount(int ms) { return static_cast<size_t>(static_cast<int64_t>(kSampleRate) * ms / 1000); }

int16_t clampSample(double v) { return static_cast<int16_t>(std::lround(std::clamp(v, -32767.0, 32767.0))); }

}  // namespace

std::vector<int16_t> roomNoise(int ms, uint32_t seed) {
    std::vector<int16_t> s(sampleCount(ms));
    uint32_t state = seed ? seed : 1;
    for (auto& v : s) {
        // xorshift: deterministic, good enough for hiss
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        v = static_cast<int16_t>(static_cast<int32_t>(state % 61) - 30);
    }
    return s;
}

std::vector<int16_t> sustainedVowel(int ms, double amplitude) {
    const size_t n = sampleCount(ms);
    std::vector<int16_t> s(n);
    // Harmonics of 150 Hz shaped by formants near 700 and 1200 Hz ("a").
    const double f0 = 150.0;
    const double formant1 = 700.0, formant2 = 1200.0;
    double phase = 0.0;
    const size_t fade = sampleCount(30);
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double pitch = f0 * (1.0 + 0.01 * std::sin(kTwoPi * 5.0 * t));
        phase += kTwoPi * pitch / kSampleRate;
        double v = 0.0, norm = 0.0;
        for (int h = 1; h * f0 < 3000.0; ++h) {
            const double f = h * f0;
            const double w = 1.0 / h + 1.5 * std::exp(-std::pow((f - formant1) / 150.0, 2)) +
                             0.8 * std::exp(-std::pow((f - formant2) / 200.0, 2));
            v += w * std::sin(h * phase);
            norm += w;
        }
        double envelope = 1.0;
        if (i < fade) envelope = static_cast<double>(i) / static_cast<double>(fade);
        if (n - i < fade) envelope = static_cast<double>(n - i) / static_cast<double>(fade);
        s[i] = clampSample(amplitude * 1.6 * envelope * v / norm);
    }
    return s;
}

std::vector<int16_t> silence(int ms) { return std::vector<int16_t>(sampleCount(ms), 0); }

std::vector<int16_t> mixed(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
    std::vector<int16_t> out(std::max(a.size(), b.size()));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = clampSample((i < a.size() ? a[i] : 0) + double(i < b.size() ? b[i] : 0));
    return out;
}

std::vector<int16_t> withLeadIn(const std::vector<int16_t>& sound, int ms) {
    std::vector<int16_t> out = silence(ms);
    out.insert(out.end(), sound.begin(), sound.end());
    return out;
}

}  // namespace uidriver
