// The progress chart's arithmetic: where a result lands (dates along the
// bottom, seconds up the side), which seconds get a grid line and which
// dates get a label.  The window only draws what this computes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "menu/exercises.h"
#include "menu/history.h"

namespace menu {

struct PlotArea {
    int left = 0, top = 0, right = 0, bottom = 0;  // pixels; y grows downwards
};

struct ValueTick {
    int hundredths;
    int y;
    std::string label;  // "10 s", "1,5 s"
};

struct DateTick {
    int64_t when;  // seconds, as secondsOf() counts them
    int x;
    std::string label;  // "14/03", or "09:05" when all results are of one day
};

// The plot inside a chart of `width` x `height` pixels: room on the left
// for the seconds, at the top for the legend, at the bottom for the dates.
PlotArea chartPlotArea(int width, int height);
inline constexpr int kLegendHeight = 26;

class ChartScale {
public:
    // `times` are the results' moments (secondsOf), `largestHundredths` the
    // longest time shown.
    ChartScale(const PlotArea& area, int64_t firstTime, int64_t lastTime, int largestHundredths);

    int x(int64_t when) const;
    int y(int hundredths) const;
    int topHundredths() const { return top_; }
    int stepHundredths() const { return step_; }

    // Grid lines from 0 to the top, one per step.
    std::vector<ValueTick> valueTicks() const;
    // At most `maxLabels` dates spread evenly between the first and the last
    // result (one in the middle when they coincide).
    std::vector<DateTick> dateTicks(int maxLabels) const;

private:
    PlotArea area_;
    int64_t first_, last_;
    int top_, step_;
};

// The scale that holds every one of `records` (at least one).
ChartScale chartScaleFor(const PlotArea& area, const std::vector<HistoryRecord>& records);

// One exercise's line: (moment, hundredths) of its records, oldest first.
std::vector<std::pair<int64_t, int>> exerciseLine(const std::vector<HistoryRecord>& records, const Exercise& exercise);

}  // namespace menu
