// The adult program's portable parts: the amplitude of a buffer, the bar
// graph's arithmetic and repaint, and one buffer's effect on the timer.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

#include "adult/graph.h"
#include "adult/measurement.h"

namespace {

using adult::BarGraph;

// --- meanPositiveAmplitude ----------------------------------------------------------

TEST(MeanPositiveAmplitude, SumsThePositiveSamplesOfTheFirstChannel) {
    const std::vector<int16_t> mono1378(689, 4800);
    const std::vector<int16_t> mixed = {100, -300, 200, -5, 0, 300};
    const std::vector<int16_t> negative = {-1, -200, -32768, 0};
    // Left channel 1000, right channel 30000: only the left one counts.
    const std::vector<int16_t> stereo = {1000, 30000, 1000, 30000, 1000, 30000, 1000, 30000};
    const struct {
        const char* name;
        const std::vector<int16_t>* samples;
        uint32_t bytes;
        uint16_t bits, channels;
        int16_t expected;
    } cases[] = {
        {"a full mono buffer: the sum over the byte count", &mono1378, 1378, 16, 1, 2400},
        {"negative samples are left out", &mixed, 12, 16, 1, 600 / 12},
        {"no positive sample", &negative, 8, 16, 1, 0},
        {"two channels: every other sample", &stereo, 16, 16, 2, 4000 / 8},
        {"8-bit format", &mono1378, 1378, 8, 1, 0},
        {"24-bit format", &mono1378, 1377, 24, 1, 0},
        {"no channels", &mono1378, 1378, 16, 0, 0},
        {"an odd byte count leaves the half sample out", &mixed, 7, 16, 1, 300 / 7},
        {"no bytes", &mixed, 0, 16, 1, 0},
    };
    for (const auto& c : cases) {
        const void* data = c.samples ? c.samples->data() : nullptr;
        EXPECT_EQ(adult::meanPositiveAmplitude(data, c.bytes, c.bits, c.channels), c.expected) << c.name;
    }
    const std::vector<int16_t> loudest(689, 32767);
    EXPECT_EQ(adult::meanPositiveAmplitude(loudest.data(), 1378, 16, 1), 16383);
}

// --- the bar graph -------------------------------------------------------------------

// The panel as a screen: every bar drawn live, moved by every scroll.
struct Screen {
    std::vector<std::pair<int, int>> bars;  // x, half-length (by the drawn top)
    void apply(const adult::BarStep& step, int lower) {
        for (auto& b : bars) b.first -= step.scrollBy;
        bars.push_back({step.bar.x, lower - step.bar.top});
    }
};

TEST(BarGraph, FillsFromTheLeftThenScrollsByTwoThenByThree) {
    BarGraph graph(290, 140);
    std::vector<int> xs;
    for (int i = 0; i < 94; ++i) {
        const auto step = graph.add(1000);
        EXPECT_EQ(step.scrollBy, 0) << i;
        xs.push_back(step.bar.x);
    }
    EXPECT_EQ(xs.front(), 3);
    EXPECT_EQ(xs[1], 6);
    EXPECT_EQ(xs.back(), 282);
    EXPECT_EQ(graph.history().size(), 94u);

    const struct {
        int scrollBy, x;
    } later[] = {{2, 283}, {3, 283}, {3, 283}};
    for (const auto& l : later) {
        const auto step = graph.add(1000);
        EXPECT_EQ(step.scrollBy, l.scrollBy);
        EXPECT_EQ(step.bar.x, l.x);
        EXPECT_EQ(graph.column(), 282) << "the column no longer changes";
        EXPECT_EQ(graph.history().size(), 94u) << "the history drops its oldest entry";
    }
}

TEST(BarGraph, HistoryDropsItsOldestEntry) {
    BarGraph graph(290, 140);
    for (int i = 0; i < 94; ++i) graph.add(static_cast<int16_t>(i * 48));  // half-lengths 0, 0, 1, ...
    graph.add(4800);
    EXPECT_EQ(graph.history().front(), static_cast<int>(48.0f * 70 / 4800)) << "entry 0 was dropped";
    EXPECT_EQ(graph.history().back(), 70);
}

TEST(BarGraph, BarLengths) {
    const struct {
        int16_t amplitude;
        int top, bottom, history;
        bool extends;
    } cases[] = {
        {4800, 0, 140, 70, true},      // spans the whole half-height
        {2400, 35, 105, 35, true},
        {9600, -70, 210, 140, true},   // longer than the panel: clipped when drawn
        {0, 70, 70, 0, false},         // an entry, but nothing visible
        {50, 69, 70, 0, true},         // h = 0.73: a one-pixel tick, history 0
        {-1, -885, 1025, 955, true},   // taken as unsigned: 65535
    };
    for (const auto& c : cases) {
        BarGraph graph(290, 140);
        const auto step = graph.add(c.amplitude);
        EXPECT_EQ(step.bar.from, 70) << c.amplitude;
        EXPECT_EQ(step.bar.top, c.top) << c.amplitude;
        EXPECT_EQ(step.bar.bottom, c.bottom) << c.amplitude;
        EXPECT_EQ(step.bar.extends, c.extends) << c.amplitude;
        EXPECT_EQ(graph.history().back(), c.history) << c.amplitude;
    }
}

TEST(BarGraph, OddHeightPutsTheAxisAboveTheMiddle) {
    BarGraph graph(100, 141);
    const auto step = graph.add(4800);
    EXPECT_EQ(step.bar.from, 70);
    EXPECT_EQ(step.bar.top, 0);
    EXPECT_EQ(step.bar.bottom, 142);
}

// A repaint puts every bar of the history where it was drawn live, before
// and after the first scroll, and the newest one at the right end.
TEST(BarGraph, RepaintMatchesTheLiveBars) {
    for (int count : {1, 2, 50, 94, 95, 96, 97, 150, 400}) {
        BarGraph graph(290, 140);
        Screen screen;
        for (int i = 0; i < count; ++i) screen.apply(graph.add(static_cast<int16_t>(200 + (i * 97) % 4600)), 70);
        std::map<int, int> live;
        for (const auto& [x, v] : screen.bars) live[x] = v;
        const auto bars = graph.repaint();
        ASSERT_EQ(bars.size(), graph.history().size()) << count;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            ASSERT_TRUE(live.count(bars[i].x)) << count << ": no live bar at x " << bars[i].x;
            // Live bars are cut from the exact length, the history keeps whole pixels.
            EXPECT_NEAR(bars[i].top, 70 - live[bars[i].x], 1) << count << " x " << bars[i].x;
            EXPECT_EQ(bars[i].bottom, 70 + graph.history()[i]);
        }
        EXPECT_EQ(bars.back().x, screen.bars.back().first) << count << ": the newest bar";
        EXPECT_LE(bars.back().x, 289);
    }
}

TEST(BarGraph, RepaintLeavesOutBarsOfLengthZero) {
    BarGraph graph(290, 140);
    graph.add(0);
    graph.add(4800);
    graph.add(0);
    const auto bars = graph.repaint();
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0], (adult::Bar{6, 0, 0, 140, true}));
    EXPECT_TRUE(BarGraph(290, 140).repaint().empty()) << "no history yet";
}

// --- one buffer's effect on the timer ---------------------------------------------------

struct Events final : phonation::IPhonationEvents {
    int stops = 0;
    void renderFrame() override {}
    void requestStop() override { ++stops; }
};

constexpr float kVoice = 50.0f, kQuiet = 5.0f;

// The running median needs two quiet buffers to leave the band.
TEST(AdultMeasurement, OnlyPhonationsLongerThanTwoSecondsEndTheCapture) {
    const struct {
        uint32_t leaveMs;
        bool taken;
    } cases[] = {{2000, false}, {2001, true}, {62500, true}, {1500, false}};
    for (const auto& c : cases) {
        voice::resetSmoothing();
        voice::IntensitySettings settings{10.0f, 80.0f, 20, 0.0f};
        phonation::CaptureSession session;
        Events events;
        session.begin();
        auto step = [&](float level, uint32_t ms) { return adult::measureBuffer(level, session, settings, ms, events); };
        auto first = step(kVoice, 0);
        EXPECT_TRUE(first.inBand);
        EXPECT_EQ(first.timeBoxMs, 0u);
        EXPECT_EQ(step(kVoice, 1000).timeBoxMs, 1000u) << "the box counts";
        EXPECT_TRUE(step(kQuiet, c.leaveMs - 1).inBand) << "smoothing holds the band for one buffer";
        const auto last = step(kQuiet, c.leaveMs);
        EXPECT_FALSE(last.inBand);
        EXPECT_EQ(settings.currentDb, kQuiet);
        EXPECT_EQ(events.stops, c.taken ? 1 : 0) << c.leaveMs;
        EXPECT_EQ(last.timeBoxMs.has_value(), !c.taken) << "a taken time leaves the box alone";
        const auto result = session.takeResult();
        ASSERT_EQ(result.has_value(), c.taken);
        if (result) {
            EXPECT_FLOAT_EQ(*result, static_cast<float>(c.leaveMs));
        } else {
            EXPECT_EQ(last.timeBoxMs, 0u) << "too short: the box shows 0 again";
        }
    }
}

TEST(AdultMeasurement, NothingIsTimedOnceTheSessionClosed) {
    voice::resetSmoothing();
    voice::IntensitySettings settings{10.0f, 80.0f, 20, 0.0f};
    phonation::CaptureSession session;
    Events events;
    session.begin();
    adult::measureBuffer(kVoice, session, settings, 0, events);
    session.close();  // a calibration command stopped the capture mid-phonation
    for (uint32_t ms : {3000u, 3100u, 3200u}) adult::measureBuffer(kQuiet, session, settings, ms, events);
    EXPECT_EQ(events.stops, 0);
    EXPECT_FALSE(session.takeResult());
}

TEST(AdultMeasurement, RestartingTheTimerTimesFromTheNextBufferInTheBand) {
    voice::resetSmoothing();
    voice::IntensitySettings settings{10.0f, 80.0f, 20, 0.0f};
    phonation::CaptureSession session;
    Events events;
    session.begin();
    adult::measureBuffer(kVoice, session, settings, 0, events);
    adult::measureBuffer(kVoice, session, settings, 1000, events);
    session.resetTimer();  // "Reiniciar Tempo"
    EXPECT_EQ(adult::measureBuffer(kVoice, session, settings, 1500, events).timeBoxMs, 0u);
    EXPECT_EQ(adult::measureBuffer(kVoice, session, settings, 1600, events).timeBoxMs, 100u);
    adult::measureBuffer(kQuiet, session, settings, 3000, events);
    adult::measureBuffer(kQuiet, session, settings, 3500, events);
    EXPECT_EQ(events.stops, 0) << "2000 ms from the restart: too short";
}

}  // namespace
