#include "phonation/time_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(TimeText, MinutesSecondsHundredths) {
    const struct {
        uint32_t ms;
        const char* text;
    } cases[] = {
        {0, "00:00:00"},         {7, "00:00:00"},         {99, "00:00:09"},
        {5045, "00:05:04"},      {5004, "00:05:00"},      {7350, "00:07:35"},
        {65432, "01:05:43"},     {62500, "01:02:50"},     {2001, "00:02:00"},
        {59999, "00:59:99"},     {60000, "01:00:00"},     {5999999, "99:59:99"},
        {6000000, "100:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(phonation::timeText(c.ms), c.text) << c.ms;
}

TEST(TimeText, PartsMatchTheText) {
    const auto p = phonation::splitTime(65432u);
    EXPECT_EQ(p.minutes, 1);
    EXPECT_EQ(p.seconds, 5);
    EXPECT_STREQ(p.fraction, "43");
}

TEST(TimeText, FromTheTimersFloat) {
    const struct {
        float ms;
        const char* text;
    } cases[] = {
        {7350.0f, "00:07:35"},
        {7359.9f, "00:07:35"},  // truncated, not rounded
        {0.0f, "00:00:00"},
        {-5.0f, "00:00:00"},
        {std::numeric_limits<float>::quiet_NaN(), "00:00:00"},
        {std::numeric_limits<float>::infinity(), "00:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(phonation::timeText(phonation::splitTime(c.ms)), c.text) << c.ms;
}

TEST(TimeText, ResultFileTextIsEightCharacters) {
    for (uint32_t ms : {2001u, 65432u, 599999u, 5999999u}) EXPECT_EQ(phonation::timeText(ms).size(), 8u) << ms;
}

}  // namespace
