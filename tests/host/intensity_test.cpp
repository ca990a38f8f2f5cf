#include "voice/intensity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using voice::IntensitySettings;

std::string twoDecimals(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(v));
    return text;
}

class IntensityTest : public ::testing::Test {
protected:
    void SetUp() override {
        voice::setPreEmphasisMemory(0);
        voice::resetSmoothing();
    }
};

struct LevelCase {
    const char* name;
    std::vector<int16_t> samples;
    const char* expected;  // as the HUD and the dialogs print it
};

TEST_F(IntensityTest, KnownBuffersMeasureTheirLevel) {
    const LevelCase cases[] = {
        {"five samples of 100", {100, 100, 100, 100, 100}, "43.50"},
        {"five samples of 1", {1, 1, 1, 1, 1}, "3.50"},
        {"full scale", {32767, 32767, 32767, 32767, 32767}, "93.81"},
        {"lone 1 at the frame centre", {0, 0, 1, 0, 0}, "0.00"},
        {"lone 1 beside the centre is floored", {0, 1, 0, 0, 0}, "0.00"},
        {"silence", std::vector<int16_t>(689, 0), "0.00"},
        {"negative full scale", {-32768, -32768, -32768, -32768, -32768}, "93.81"},
    };
    for (const auto& c : cases) {
        const float level = voice::measureIntensity(c.samples.data(), static_cast<int32_t>(c.samples.size()));
        EXPECT_EQ(twoDecimals(level), c.expected) << c.name;
    }
}

TEST_F(IntensityTest, SilenceIsExactlyZero) {
    std::vector<int16_t> zeros(689, 0);
    EXPECT_EQ(voice::measureIntensity(zeros.data(), 689), 0.0f);
}

TEST_F(IntensityTest, FramesAreFiveSamplesEveryThree) {
    const struct {
        int32_t samples;
        int32_t frames;
    } cases[] = {{0, 0}, {1, 0}, {4, 0}, {5, 1}, {6, 1}, {7, 1}, {8, 2}, {11, 3}, {689, 229}};
    for (const auto& c : cases) EXPECT_EQ(voice::frameCount(c.samples), c.frames) << c.samples;
}

TEST_F(IntensityTest, TrailingSamplesOutsideAWholeFrameAreNotMeasured) {
    // 7 samples: one frame (0..4); loud samples 5 and 6 must not count.
    std::vector<int16_t> s = {100, 100, 100, 100, 100, 30000, 30000};
    EXPECT_EQ(twoDecimals(voice::measureIntensity(s.data(), 7)), "43.50");
}

TEST_F(IntensityTest, MeanIsOfFrameLevelsNotOfEnergy) {
    // First half silent, second half a constant that measures ~60 dB per
    // frame: the mean of the dB values is about 30, not 57.
    const int16_t a = static_cast<int16_t>(std::lround(std::sqrt(1e6 / 2.24)));
    std::vector<int16_t> s(600, 0);
    for (size_t i = 300; i < s.size(); ++i) s[i] = a;
    const float level = voice::measureIntensity(s.data(), 600);
    EXPECT_NEAR(level, 30.0f, 0.5f);
}

TEST_F(IntensityTest, HammingSumOfOnesIsTheWindowSum) {
    const float ones[5] = {1, 1, 1, 1, 1};
    EXPECT_NEAR(voice::hammingSum(ones, 5), 2.24f, 1e-6f);
    const float centre[5] = {0, 0, 1, 0, 0};
    EXPECT_FLOAT_EQ(voice::hammingSum(centre, 5), 1.0f);
    const float edge[5] = {1, 0, 0, 0, 0};
    EXPECT_NEAR(voice::hammingSum(edge, 5), 0.08f, 1e-6f);
}

TEST_F(IntensityTest, MeasurementIsReproducibleBitForBit) {
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> d(-32768, 32767);
    std::vector<int16_t> s(689);
    for (auto& v : s) v = static_cast<int16_t>(d(rng));
    const float first = voice::measureIntensity(s.data(), 689);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(voice::measureIntensity(s.data(), 689), first);
}

struct EmphasisCase {
    const char* name;
    int16_t memory;
    std::vector<int16_t> in;
    std::vector<int16_t> out;
};

TEST_F(IntensityTest, PreEmphasisExamples) {
    const EmphasisCase cases[] = {
        {"steady", 0, {100, 100, 100}, {100, 4, 4}},
        {"rising", 0, {10, 11}, {10, 1}},
        {"negative truncates toward zero", 0, {-10, -11}, {-10, -1}},
        {"wraps, does not saturate", -32768, {32767}, {-1312}},
        {"uses the memory", 100, {100}, {4}},
    };
    for (const auto& c : cases) {
        voice::setPreEmphasisMemory(c.memory);
        auto s = c.in;
        voice::preEmphasize(s.data(), static_cast<int32_t>(s.size()));
        EXPECT_EQ(s, c.out) << c.name;
        EXPECT_EQ(voice::preEmphasisMemory(), c.in.back()) << c.name << ": memory keeps the raw sample";
    }
}

TEST_F(IntensityTest, PreEmphasisOfNothingKeepsTheMemory) {
    voice::setPreEmphasisMemory(77);
    int16_t dummy = 5;
    voice::preEmphasize(&dummy, 0);
    voice::preEmphasize(&dummy, -3);
    EXPECT_EQ(voice::preEmphasisMemory(), 77);
    EXPECT_EQ(dummy, 5);
}

TEST_F(IntensityTest, PreEmphasisAcrossBuffersEqualsOneLongBuffer) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> d(-32768, 32767);
    std::vector<int16_t> whole(2067);
    for (auto& v : whole) v = static_cast<int16_t>(d(rng));
    auto pieces = whole;

    voice::setPreEmphasisMemory(0);
    voice::preEmphasize(whole.data(), static_cast<int32_t>(whole.size()));
    voice::setPreEmphasisMemory(0);
    const int32_t cuts[] = {0, 689, 690, 1378, 2067};
    for (size_t i = 0; i + 1 < std::size(cuts); ++i)
        voice::preEmphasize(pieces.data() + cuts[i], cuts[i + 1] - cuts[i]);
    EXPECT_EQ(pieces, whole);
}

TEST_F(IntensityTest, BufferWithoutAWholeFrameIsNoMeasurement) {
    for (int32_t n = 0; n < voice::kFrameLength; ++n) {
        voice::setPreEmphasisMemory(321);
        std::vector<int16_t> s(static_cast<size_t>(n) + 1, 1000);
        EXPECT_FALSE(voice::measureBuffer(s.data(), n).has_value()) << n;
        EXPECT_EQ(voice::preEmphasisMemory(), 321) << n << ": must not touch the filter";
        EXPECT_EQ(s[0], 1000) << n;
        // A defined number, never NaN.
        EXPECT_EQ(voice::measureIntensity(s.data(), n), 0.0f) << n;
    }
    std::vector<int16_t> five(5, 100);
    voice::setPreEmphasisMemory(100);
    ASSERT_TRUE(voice::measureBuffer(five.data(), 5).has_value());
    EXPECT_EQ(five, (std::vector<int16_t>{4, 4, 4, 4, 4}));
}

TEST_F(IntensityTest, RunningMedianOfThree) {
    const float in[] = {10, 50, 20, 30, 30, 5};
    const float out[] = {10, 50, 20, 30, 30, 30};
    for (size_t i = 0; i < std::size(in); ++i) EXPECT_EQ(voice::smoothIntensity(in[i]), out[i]) << i;
}

TEST_F(IntensityTest, ResetEmptiesTheMedianWindow) {
    voice::smoothIntensity(90);
    voice::smoothIntensity(90);
    voice::resetSmoothing();
    EXPECT_EQ(voice::smoothIntensity(1), 1.0f);
    EXPECT_EQ(voice::smoothIntensity(2), 2.0f);
    EXPECT_EQ(voice::smoothIntensity(3), 2.0f);
}

TEST_F(IntensityTest, BandEdges) {
    const IntensitySettings defaults;
    IntensitySettings lowNoise;
    lowNoise.noiseDb = 0;
    IntensitySettings narrow;
    narrow.minDb = 40;
    narrow.maxDb = 60;
    narrow.noiseDb = 45;
    const struct {
        const char* name;
        const IntensitySettings& settings;
        float level;
        bool inBand;
    } cases[] = {
        {"bottom edge is open", lowNoise, 10.0f, false},
        {"just above bottom", lowNoise, 10.001f, true},
        {"above min but not above noise", defaults, 10.5f, false},
        {"at noise", defaults, 20.0f, false},
        {"just above noise", defaults, 20.001f, true},
        {"top edge is closed", defaults, 100.0f, true},
        {"above top", defaults, 100.001f, false},
        {"silence", defaults, 0.0f, false},
        {"noise above min rules", narrow, 44.9f, false},
        {"inside narrow band", narrow, 50.0f, true},
        {"above narrow band", narrow, 60.5f, false},
    };
    for (const auto& c : cases) EXPECT_EQ(voice::isInBand(c.level, c.settings), c.inBand) << c.name;
}

TEST_F(IntensityTest, DefaultSettings) {
    const IntensitySettings s;
    EXPECT_EQ(s.minDb, 10.0f);
    EXPECT_EQ(s.maxDb, 100.0f);
    EXPECT_EQ(s.noiseDb, 20);
}

}  // namespace
