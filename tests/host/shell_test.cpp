#include <gtest/gtest.h>

#include <array>

#include "shell/hud_layout.h"

namespace {

using shell::SegmentColour;

// --- HUD layout ------------------------------------------------------------------

TEST(HudLayout, TimeAndBandLabels) {
    EXPECT_EQ(shell::hudTimeText(0), "Tempo 00:00:00");
    EXPECT_EQ(shell::hudTimeText(65432), "Tempo 01:05:43");
    const struct {
        float limit;
        int x;
        const char* text;
    } labels[] = {{10, 0, "10 db"}, {100, 81, "100 db"}, {0, -9, "0 db"}, {55, 36, "55 db"}, {120, 99, "120 db"}};
    for (const auto& l : labels) {
        EXPECT_EQ(shell::bandLabelX(l.limit), l.x) << l.limit;
        EXPECT_EQ(shell::bandLabelText(l.limit), l.text) << l.limit;
    }
}

TEST(HudLayout, MeterSegments) {
    voice::IntensitySettings band;  // 10 to 100, noise 20
    const auto G = SegmentColour::Green, R = SegmentColour::Red, _ = SegmentColour::Gray;
    const struct {
        const char* name;
        float level;
        std::array<SegmentColour, 12> segments;
    } cases[] = {
        {"35 dB in the band", 35.0f, {G, G, G, G, _, _, _, _, _, _, _, _}},
        {"15 dB below the noise", 15.0f, {R, R, _, _, _, _, _, _, _, _, _, _}},
        {"silence still fills segment 0", 0.0f, {R, _, _, _, _, _, _, _, _, _, _, _}},
        {"exactly the noise shows green", 20.0f, {G, G, G, _, _, _, _, _, _, _, _, _}},
        {"full scale", 93.8f, {G, G, G, G, G, G, G, G, G, G, _, _}},
    };
    for (const auto& c : cases) EXPECT_EQ(shell::meterSegments(c.level, band), c.segments) << c.name;

    voice::IntensitySettings narrow;
    narrow.minDb = 30;
    narrow.maxDb = 60;
    narrow.noiseDb = 10;
    EXPECT_EQ(shell::meterSegments(75.0f, narrow)[7], R) << "above the maximum is red";
    EXPECT_EQ(shell::meterSegments(29.0f, narrow)[0], R) << "below the minimum is red";
}

}  // namespace
