#pragma once

#include "datacontainerinfo.h"
#include "ratestats.h"

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
        bool exact = true;
    };

    Step add(const DataContainerInfo &entry);

    // Nothing when fewer than two readings span a positive time.
    std::optional<Summary> summary() const;

    qint64 maxSizeTotal() const { return m_maxSizeTotal; }

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

// Rounds to the nearest whole number, halves away from zero; nothing when the
// result is not finite or does not fit a signed 64-bit integer.
std::optional<qint64> roundedToInt64(double value);

// later - earlier as a double, exact when the integer difference fits.
double difference(qint64 later, qint64 earlier);
