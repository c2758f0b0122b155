#pragma once

#include "units.h"

#include <QtGlobal>

#include <optional>
#include <span>

// One reading of one container, in history order.
struct TrendReading {
    double date = 0.0;    // seconds since 2001-01-01 UTC
    qint64 totalUsed = 0; // bytes
    qint64 free = 0;
    qint64 capacity = 0;
};

// The trend looks back this far from the last reading, and needs at least
// this many readings over at least this long.
inline constexpr double trendLookBack = 30 * secondsPerDay;
inline constexpr qsizetype trendMinimumReadings = 3;
inline constexpr double trendMinimumSpan = secondsPerDay;
// A cleanup may take this long: its fall is measured from the highest
// reading of this span before each reading.
inline constexpr double cleanupLookBack = 3 * secondsPerDay;

// The growth of the recent readings: the median of the slopes between every
// two readings, which a few odd readings cannot drag about, and Sen's 90%
// range around it. Slopes in bytes per second, rates in GB per week, dates in
// seconds since 2001.
struct TrendFit {
    double slope = 0.0;
    double slopeLow = 0.0;
    double slopeHigh = 0.0;
    double rate = 0.0;
    double rateLow = 0.0;
    double rateHigh = 0.0;
    std::optional<double> weeks;        // until full at the slope; nothing when not growing
    std::optional<double> full;         // when full at the slope
    std::optional<double> fullEarliest; // at the high slope; nothing when it does not grow
    std::optional<double> fullLatest;   // at the low slope; nothing when it does not grow

    bool growing() const { return slope > 0.0; }
};

// The readings a trend is drawn from, and the trend when they are enough.
struct RecentTrend {
    double from = 0.0;             // the window's earliest date
    double span = 0.0;             // seconds from its earliest date to its latest
    qsizetype readings = 0;        // readings in the window
    std::optional<double> cleanup; // where the window starts after the latest cleanup, in it or not
    bool sinceCleanup = false;     // the window begins at that cleanup
    double lastDate = 0.0;         // the last reading in history order
    qint64 lastUsed = 0;
    qint64 room = 0;             // the last reading's free space, 0 when negative
    std::optional<TrendFit> fit; // nothing when there is too little to tell
};

// The trend of one container's readings in history order. The window starts
// where the latest cleanup left the used space lowest (cleanupsearch.h), or
// at the first reading without one, and keeps the readings no older than
// trendLookBack before the last reading.
RecentTrend recentTrend(std::span<const TrendReading> readings);
