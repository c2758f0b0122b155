#include "recenttrend.h"

#include "cleanupsearch.h"
#include "ratestats.h"
#include "seriesaccumulator.h"
#include "theilsen.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// Half a million slopes are enough: longer windows are thinned to this many
// evenly spaced readings before pairing.
constexpr size_t sampledReadings = 1001;

double windowOldest(std::span<const TrendReading> readings)
{
    return readings.back().date - trendLookBack;
}

// The readings from `from` on are the window's when they are recent enough.
void describeWindow(RecentTrend &trend, std::span<const TrendReading> from, double oldest)
{
    double first = std::numeric_limits<double>::infinity();
    double last = -first;
    for (const TrendReading &r : from) {
        if (r.date >= oldest) {
            ++trend.readings;
            first = std::min(first, r.date);
            last = std::max(last, r.date);
        }
    }
    trend.from = first;
    trend.span = last - first;
}

size_t keptIndex(size_t k, size_t readings)
{
    return readings <= sampledReadings ? k : k * (readings - 1) / (sampledReadings - 1);
}

std::vector<SlopePoint> keptPoints(std::span<const TrendReading> from, double oldest,
                                   size_t readings)
{
    std::vector<SlopePoint> points;
    points.reserve(std::min(readings, sampledReadings));
    size_t index = 0;
    for (const TrendReading &r : from) {
        if (r.date >= oldest && index++ == keptIndex(points.size(), readings))
            points.push_back({r.date, r.totalUsed});
    }
    return points;
}

std::optional<double> fillDate(const RecentTrend &trend, double slope)
{
    if (!(slope > 0.0))
        return std::nullopt;
    return trend.lastDate + static_cast<double>(trend.room) / slope;
}

std::optional<TrendFit> fit(const RecentTrend &trend, std::span<const SlopePoint> points)
{
    const std::optional<SenSlopes> slopes = senSlopes(points);
    if (!slopes)
        return std::nullopt;
    TrendFit fit;
    fit.slope = slopes->median;
    fit.slopeLow = slopes->low;
    fit.slopeHigh = slopes->high;
    fit.rate = fit.slope * gbPerWeekPerBytePerSecond;
    fit.rateLow = fit.slopeLow * gbPerWeekPerBytePerSecond;
    fit.rateHigh = fit.slopeHigh * gbPerWeekPerBytePerSecond;
    if (fit.growing())
        fit.weeks = static_cast<double>(trend.room) / (fit.slope * secondsPerWeek);
    fit.full = fillDate(trend, fit.slope);
    fit.fullEarliest = fillDate(trend, fit.slopeHigh);
    fit.fullLatest = fillDate(trend, fit.slopeLow);
    return fit;
}

} // namespace

RecentTrend recentTrend(std::span<const TrendReading> readings)
{
    RecentTrend trend;
    if (readings.empty())
        return trend;
    trend.lastDate = readings.back().date;
    trend.lastUsed = readings.back().totalUsed;
    trend.room = std::max<qint64>(0, readings.back().free);
    const double oldest = windowOldest(readings);
    const std::optional<size_t> cleanup = cleanupStart(readings);
    if (cleanup) {
        trend.cleanup = readings[*cleanup].date;
        trend.sinceCleanup = *trend.cleanup >= oldest;
    }
    const auto from = readings.subspan(cleanup.value_or(0));
    describeWindow(trend, from, oldest);
    if (trend.readings >= trendMinimumReadings && trend.span >= trendMinimumSpan) {
        const auto n = static_cast<size_t>(trend.readings);
        trend.fit = fit(trend, keptPoints(from, oldest, n));
    }
    return trend;
}
