#include "trendcrossing.h"

namespace {

bool within(const RecentTrend &trend, double weeks)
{
    return trend.fit && trend.fit->weeks && *trend.fit->weeks <= weeks;
}

} // namespace

std::optional<TrendCrossing> trendCrossing(std::span<const TrendReading> readings,
                                           const WeekThresholds &limits)
{
    if (readings.empty())
        return std::nullopt;
    const RecentTrend now = recentTrend(readings);
    const RecentTrend before = recentTrend(readings.first(readings.size() - 1));
    for (const bool critical : {true, false}) {
        const double weeks = critical ? limits.critWeeks : limits.warnWeeks;
        if (within(now, weeks) && !within(before, weeks))
            return TrendCrossing{critical, weeks, now};
    }
    return std::nullopt;
}
