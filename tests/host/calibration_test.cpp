#include "voice/calibration.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(BandValue, TypedTexts) {
    const struct {
        const char* text;
        int low, high;
        std::optional<int> value;
    } cases[] = {
        {"35", 0, 50, 35},
        {"7x", 0, 50, 7},
        {"0", 0, 50, 0},
        {"50", 0, 50, 50},
        {"", 0, 50, std::nullopt},
        {" 5", 0, 50, std::nullopt},
        {"-5", 0, 50, std::nullopt},
        {"51", 0, 50, std::nullopt},
        {"x5", 0, 50, std::nullopt},
        {"60", 60, 120, 60},
        {"120", 60, 120, 120},
        {"59", 60, 120, std::nullopt},
        {"121", 60, 120, std::nullopt},
        {"1e2", 60, 120, std::nullopt},
        {"0000000000000000000000100", 60, 120, 100},
        {"99999999999999999999999999", 60, 120, std::nullopt},  // atoi would overflow
        {"4294967356", 60, 120, std::nullopt},                  // wraps to 60 in 32 bits
    };
    for (const auto& c : cases) EXPECT_EQ(voice::parseBandValue(c.text, c.low, c.high), c.value) << '"' << c.text << '"';
}

TEST(NoiseThreshold, MeanPlusFourTruncated) {
    const struct {
        float sum;
        int32_t count;
        std::optional<int32_t> threshold;
    } cases[] = {
        {18.7f * 49, 49, 22},
        {0.0f, 49, 4},
        {64.95f * 10, 10, 68},
        {19.99f, 1, 23},
        {0.0f, 0, std::nullopt},  // nothing counted: keep the old threshold
        {5.0f, -1, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(voice::noiseThreshold(c.sum, c.count), c.threshold) << c.sum << "/" << c.count;
}

TEST(NoiseMeasurement, StopsOnTheBufferThatReachesThreeSeconds) {
    int buffers = 0;
    while (voice::recordedSeconds(buffers * 1378) < voice::kNoiseSeconds) ++buffers;
    EXPECT_EQ(buffers, 49);
    EXPECT_FLOAT_EQ(voice::recordedSeconds(22050), 1.0f);
    EXPECT_FLOAT_EQ(voice::recordedSeconds(3), voice::recordedSeconds(2)) << "half samples do not count";
}

TEST(Trackbar, VolumeAndPositionBothWays) {
    const struct {
        uint32_t volume, maximum;
        int position;
    } toPosition[] = {
        {0, 65535, 1000}, {65535, 65535, 0}, {32768, 65535, 500}, {49152, 65535, 250},
        {70000, 65535, 0},  // beyond the maximum: top, never negative
        {5, 0, 1000},       // a control without range
    };
    for (const auto& c : toPosition)
        EXPECT_EQ(voice::trackbarPositionForVolume(c.volume, c.maximum), c.position) << c.volume << "/" << c.maximum;

    const struct {
        int position;
        int64_t maximum, volume;
    } toVolume[] = {{0, 65535, 65535}, {1000, 65535, 0}, {250, 65535, 49152}, {500, 1000, 500}, {999, 65535, 66}};
    for (const auto& c : toVolume)
        EXPECT_EQ(voice::volumeForTrackbar(c.position, c.maximum), c.volume) << c.position;
}

}  // namespace
