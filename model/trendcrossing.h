#pragma once

#include "recenttrend.h"

#include <optional>
#include <span>

// How near a fill date has to come before a person is told: `check`'s
// WARNING and CRITICAL weeks, which `record` shares.
struct WeekThresholds {
    double warnWeeks = 12;
    double critWeeks = 4;
};

// A threshold that a container's forecast crossed with its last reading.
struct TrendCrossing {
    bool critical = false;
    double thresholdWeeks = 0.0;
    RecentTrend trend; // of all the readings
};

// The trend of all the readings fills in at most a threshold's weeks, and the
// trend without the last reading did not (or there was none): the critical
// threshold first, then the warning one. Stateless, so that each crossing is
// told once, by the reading that made it; nothing when none was crossed.
std::optional<TrendCrossing> trendCrossing(std::span<const TrendReading> readings,
                                           const WeekThresholds &limits);
