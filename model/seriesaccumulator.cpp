#include "seriesaccumulator.h"

#include "ids.h"
#include "units.h"

#include <cmath>

SeriesAccumulator::Step SeriesAccumulator::add(const DataContainerInfo &entry)
{
    Step step;
    qint64 size = 0;
    if (qSubOverflow(entry.capacity, entry.free, &size)) {
        size = 0;
        step.exact = false;
    }
    qint64 rate = 0;
    qint64 rateTotal = 0;
    if (m_first) {
        m_firstDate = entry.date;
        m_firstTotal = entry.totalUsed;
        m_first = false;
    } else if (const double span = entry.date - m_previousDate; span > 0) {
        const auto r = roundedToInt64(difference(size, m_previousSize) / span);
        const auto rt = roundedToInt64(difference(entry.totalUsed, m_previousTotal) / span);
        step.exact = step.exact && r && rt;
        rate = r.value_or(0);
        rateTotal = rt.value_or(0);
    }
    if (m_maxSizeTotal < entry.totalUsed) {
        m_maxSizeTotal = entry.totalUsed;
        step.raisesMaximum = true;
    }
    step.point = RateStats{newId(), entry.date, rate, size, rateTotal, entry.totalUsed};
    m_previousDate = entry.date;
    m_previousSize = size;
    m_previousTotal = entry.totalUsed;
    m_lastFree = static_cast<double>(entry.free);
    return step;
}

std::optional<SeriesAccumulator::Summary> SeriesAccumulator::summary() const
{
    const double totalSpan = m_previousDate - m_firstDate;
    if (m_first || !(totalSpan > 0))
        return std::nullopt;
    Summary result;
    // Divide first, then multiply: the figures must match the ones users have
    // seen, to the last bit.
    result.overallRate =
        difference(m_previousTotal, m_firstTotal) / totalSpan * gbPerWeekPerBytePerSecond;
    if (result.overallRate > 0) {
        result.timeToRun =
            truncatedToInt64(m_lastFree / double(bytesPerGB) / result.overallRate).value_or(0);
    }
    return result;
}
