#include "menu/chart_scale.h"

#include <algorithm>
#include <cstdio>

#include "menu/local_time.h"

namespace menu {
namespace {

// Grid steps a reader takes in at a glance, in hundredths of a second.
constexpr int kSteps[] = {50, 100, 200, 500, 1000, 1500, 3000, 6000, 12000, 30000, 60000, 120000, 300000};
constexpr int kMostGridLines = 6;

std::string secondsLabel(int hundredths) {
    char text[32];
    if (hundredths % 100 == 0)
        std::snprintf(text, sizeof text, "%d s", hundredths / 100);
    else
        std::snprintf(text, sizeof text, "%d,%d s", hundredths / 100, hundredths % 100 / 10);
    return text;
}

std::string dateLabel(int64_t when, bool oneDay) {
    const LocalTime t = localTimeAt(when);
    char text[16];
    if (oneDay)
        std::snprintf(text, sizeof text, "%02d:%02d", t.hour, t.minute);
    else
        std::snprintf(text, sizeof text, "%02d/%02d", t.day, t.month);
    return text;
}

}  // namespace

PlotArea chartPlotArea(int width, int height) { return {56, kLegendHeight + 12, width - 24, height - 30}; }

ChartScale::ChartScale(const PlotArea& area, int64_t firstTime, int64_t lastTime, int largestHundredths)
    : area_(area), first_(std::min(firstTime, lastTime)), last_(std::max(firstTime, lastTime)) {
    // The top lies a little above the longest time, so no result sits on
    // the chart's edge.
    const int largest = std::max(largestHundredths, 0);
    step_ = kSteps[std::size(kSteps) - 1];
    for (int s : kSteps)
        if (largest / s + 1 <= kMostGridLines) {
            step_ = s;
            break;
        }
    top_ = (largest / step_ + 1) * step_;
}

int ChartScale::x(int64_t when) const {
    const int width = area_.right - area_.left;
    if (last_ == first_) return area_.left + width / 2;
    const int64_t clamped = std::clamp(when, first_, last_);
    return area_.left + static_cast<int>((clamped - first_) * width / (last_ - first_));
}

int ChartScale::y(int hundredths) const {
    const int height = area_.bottom - area_.top;
    const int64_t clamped = std::clamp(hundredths, 0, top_);
    return area_.bottom - static_cast<int>(clamped * height / top_);
}

std::vector<ValueTick> ChartScale::valueTicks() const {
    std::vector<ValueTick> ticks;
    for (int v = 0; v <= top_; v += step_) ticks.push_back({v, y(v), secondsLabel(v)});
    return ticks;
}

std::vector<DateTick> ChartScale::dateTicks(int maxLabels) const {
    // Results of one day are told apart by the hour; a single result by its date.
    const bool oneDay = last_ != first_ && localTimeAt(first_).year == localTimeAt(last_).year &&
                        localTimeAt(first_).month == localTimeAt(last_).month &&
                        localTimeAt(first_).day == localTimeAt(last_).day;
    std::vector<DateTick> ticks;
    if (last_ == first_ || maxLabels < 2) {
        const int64_t middle = first_ + (last_ - first_) / 2;
        ticks.push_back({middle, x(middle), dateLabel(middle, oneDay)});
        return ticks;
    }
    for (int i = 0; i < maxLabels; ++i) {
        const int64_t when = first_ + (last_ - first_) * i / (maxLabels - 1);
        std::string label = dateLabel(when, oneDay);
        if (!ticks.empty() && ticks.back().label == label) continue;  // two labels of one day say nothing new
        ticks.push_back({when, x(when), std::move(label)});
    }
    return ticks;
}

ChartScale chartScaleFor(const PlotArea& area, const std::vector<HistoryRecord>& records) {
    int64_t first = secondsOf(records.front().when), last = first;
    int largest = 0;
    for (const HistoryRecord& r : records) {
        first = std::min(first, secondsOf(r.when));
        last = std::max(last, secondsOf(r.when));
        largest = std::max(largest, r.hundredths);
    }
    return ChartScale(area, first, last, largest);
}

std::vector<std::pair<int64_t, int>> exerciseLine(const std::vector<HistoryRecord>& records, const Exercise& exercise) {
    std::vector<std::pair<int64_t, int>> line;
    for (const HistoryRecord& r : records)
        if (r.exercise == exercise.name) line.emplace_back(secondsOf(r.when), r.hundredths);
    std::stable_sort(line.begin(), line.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return line;
}

}  // namespace menu
