#pragma once

#include "datacontainerinfo.h"
#include "ratestats.h"

#include <QtNumeric>

#include <optional>

// The growth series of one container, built one matching reading at a time in
// history order (no sorting). Pure: the store and the CSV export both walk
// their entries through it.
//
// Integer results that do not fit a signed 64-bit integer are stored as 0 and
// the step is marked inexact: a hand-edited history can hold sizes near the
// limits or two readings a microsecond apart, and a wrapped number would be a
// plausible-looking lie. Differences that overflow are taken in double
// precision before dividing, so only unrepresentable results become 0.
class SeriesAccumulator
{
public:
    struct Step {
        RateStats point;
        bool raisesMaximum = false; // this reading's totalUsed is the largest so far
        bool exact = true;          // every integer of the point fits its type
    };

    struct Summary {
        double overallRate = 0.0; // GB per week
        qint64 timeToRun = 0;     // whole weeks until full; 0 without growth
    };

    Step add(const DataContainerInfo &entry);

    // Nothing when fewer than two readings span a positive time.
    std::optional<Summary> summary() const;

private:
    bool m_first = true;
    double m_firstDate = 0.0;
    double m_previousDate = 0.0;
    qint64 m_previousSize = 0;
    qint64 m_previousTotal = 0;
    qint64 m_firstTotal = 0;
    double m_lastFree = 0.0;
    qint64 m_maxSizeTotal = 0;
};

// Nothing when the value is not finite or does not fit a signed 64-bit
// integer; otherwise the value truncated toward zero.
inline std::optional<qint64> truncatedToInt64(double value)
{
    // 2^63 is exactly representable; every double below it converts safely.
    constexpr double int64Bound = 9223372036854775808.0;
    if (!(value >= -int64Bound && value < int64Bound)) // also rejects NaN
        return std::nullopt;
    return static_cast<qint64>(value);
}

// Rounds to the nearest whole number, halves away from zero; nothing when the
// result is not finite or does not fit a signed 64-bit integer. Inline: it
// runs twice per point of a series of hundreds of thousands.
inline std::optional<qint64> roundedToInt64(double value)
{
    // Every double of magnitude 2^52 or more is already whole; below that the
    // integer conversion is exact and cheaper than std::round's library call.
    constexpr double wholeFrom = 4503599627370496.0; // 2^52
    if (!(value > -wholeFrom && value < wholeFrom))
        return truncatedToInt64(value);
    auto whole = static_cast<qint64>(value);
    const double fraction = value - static_cast<double>(whole);
    if (fraction >= 0.5)
        ++whole;
    else if (fraction <= -0.5)
        --whole;
    return whole;
}

// later - earlier as a double, exact when the integer difference fits.
inline double difference(qint64 later, qint64 earlier)
{
    qint64 exact = 0;
    if (!qSubOverflow(later, earlier, &exact))
        return static_cast<double>(exact);
    return static_cast<double>(later) - static_cast<double>(earlier);
}
