// The menu's chart arithmetic, the choice of a run's result by the file,
// and the calendar that both rest on.
#include "menu/chart_scale.h"
#include "menu/local_time.h"
#include "menu/run_result.h"

#include <gtest/gtest.h>

namespace {

using menu::LocalTime;

int64_t at(int year, int month, int day, int hour = 12, int minute = 0) {
    return menu::secondsOf({year, month, day, hour, minute, 0});
}

TEST(MenuCalendar, SecondsAndDatesConvertBothWays) {
    const struct {
        LocalTime t;
        int64_t seconds;
    } cases[] = {
        {{1970, 1, 1, 0, 0, 0}, 0},
        {{2000, 2, 29, 23, 59, 59}, 951868799},
        {{2026, 12, 31, 8, 10, 0}, 1798704600},
        {{1969, 12, 31, 23, 59, 59}, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(menu::secondsOf(c.t), c.seconds) << menu::isoText(c.t);
        EXPECT_EQ(menu::localTimeAt(c.seconds), c.t) << c.seconds;
    }
}

TEST(MenuCalendar, OnlyRealDatesAreRead) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"2026-03-14 09:05:00", true},  {"2026-03-14T09:05:00", true},  {"2024-02-29 00:00:00", true},
        {"2026-02-29 00:00:00", false}, {"2026-13-01 00:00:00", false}, {"2026-03-14 24:00:00", false},
        {"2026-03-14 09:05", false},    {"14/03/2026 09:05:00", false}, {"2026-03-14 09:05:00Z", false},
    };
    for (const auto& c : cases) EXPECT_EQ(menu::parseIsoText(c.text).has_value(), c.valid) << c.text;
    EXPECT_EQ(menu::brazilianText({2026, 3, 4, 9, 5, 7}), "04/03/2026 09:05");
}

TEST(MenuChart, SecondsGetARoundTopAndFewGridLines) {
    const struct {
        int largest;
        int top, step;
    } cases[] = {
        {0, 50, 50},          {1, 50, 50},           {250, 300, 50},  {301, 400, 100},
        {735, 800, 200},      {1000, 1200, 200},     {2999, 3000, 500}, {6203, 7500, 1500},
        {59999, 60000, 12000}, {1500000, 1800000, 300000},
    };
    const menu::PlotArea area{40, 10, 440, 210};
    for (const auto& c : cases) {
        const menu::ChartScale scale(area, 0, 100, c.largest);
        EXPECT_EQ(scale.topHundredths(), c.top) << c.largest;
        EXPECT_EQ(scale.stepHundredths(), c.step) << c.largest;
        EXPECT_GT(scale.topHundredths(), c.largest);
        EXPECT_LE(scale.valueTicks().size(), 7u) << c.largest;
    }
}

TEST(MenuChart, TimesAndSecondsLandInsideThePlot) {
    const menu::PlotArea area{40, 10, 440, 210};
    const menu::ChartScale scale(area, at(2026, 3, 1), at(2026, 3, 11), 1000);
    const struct {
        int64_t when;
        int hundredths;
        int x, y;
    } cases[] = {
        {at(2026, 3, 1), 0, 40, 210},     {at(2026, 3, 11), 1200, 440, 10}, {at(2026, 3, 6), 600, 240, 110},
        {at(2026, 2, 1), 2000, 40, 10},   {at(2026, 4, 1), -5, 440, 210},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scale.x(c.when), c.x) << c.when;
        EXPECT_EQ(scale.y(c.hundredths), c.y) << c.hundredths;
    }
    const auto ticks = scale.valueTicks();
    ASSERT_EQ(ticks.size(), 7u);
    EXPECT_EQ(ticks.front().label, "0 s");
    EXPECT_EQ(ticks.back().label, "12 s");
    EXPECT_EQ(ticks.back().y, 10);
    EXPECT_EQ(menu::ChartScale(area, 0, 1, 149).valueTicks()[1].label, "0,5 s");
}

TEST(MenuChart, DatesAreLabelledAlongTheBottom) {
    const menu::PlotArea area{0, 0, 400, 100};
    const struct {
        const char* name;
        int64_t first, last;
        int maxLabels;
        std::vector<std::string> labels;
        std::vector<int> xs;
    } cases[] = {
        {"one result", at(2026, 3, 14), at(2026, 3, 14), 5, {"14/03"}, {200}},
        {"ten days", at(2026, 3, 1), at(2026, 3, 11), 3, {"01/03", "06/03", "11/03"}, {0, 200, 400}},
        {"one day, by the hour", at(2026, 3, 14, 9), at(2026, 3, 14, 11), 3, {"09:00", "10:00", "11:00"}, {0, 200, 400}},
        {"two days, no label twice", at(2026, 3, 14, 20), at(2026, 3, 15, 8), 4, {"14/03", "15/03"}, {0, 133}},
        {"no room for two", at(2026, 3, 1), at(2026, 3, 11), 1, {"06/03"}, {200}},
    };
    for (const auto& c : cases) {
        const auto ticks = menu::ChartScale(area, c.first, c.last, 500).dateTicks(c.maxLabels);
        std::vector<std::string> labels;
        std::vector<int> xs;
        for (const auto& t : ticks) {
            labels.push_back(t.label);
            xs.push_back(t.x);
        }
        EXPECT_EQ(labels, c.labels) << c.name;
        EXPECT_EQ(xs, c.xs) << c.name;
    }
}

TEST(MenuRunResult, TheResultIsTheFileTheRunChangedWhateverTheClockDid) {
    constexpr int64_t start = 1'000'000'000, second = 10'000'000;
    const menu::FileStamp none{}, old{true, start - 60 * second, 8}, fresh{true, start + 5 * second, 8},
        stepBack{true, start - 3600 * second, 8};
    const struct {
        const char* name;
        menu::FileStamp before, after;
        bool counts;
    } cases[] = {
        {"nothing written", none, none, false},
        {"written during the run", none, fresh, true},
        {"an older one removed, a new one written", old, fresh, true},
        {"an older one left in place", old, old, false},
        {"written again with the same time, other size", old, {true, old.writeTime, 9}, true},
        {"written again with the same size, other time", old, {true, old.writeTime + 1, 8}, true},
        {"the clock stepped back an hour during the run", none, stepBack, true},
        {"the clock stepped back below the older file's time", old, {true, old.writeTime - second, 8}, true},
        {"removed during the run", old, none, false},
    };
    for (const auto& c : cases) EXPECT_EQ(menu::isResultOfThisRun(c.before, c.after), c.counts) << c.name;
}

}  // namespace
