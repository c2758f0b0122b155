#include "cleanupsearch.h"

#include "seriesaccumulator.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

namespace {

// A fall counts from 1 GB and 1% of the capacity: day-to-day churn of caches
// and swap stays well below either.
constexpr double cleanupBytes = 1e9;
constexpr double cleanupCapacityDivisor = 100.0;
constexpr qint64 nothingHigher = std::numeric_limits<qint64>::min();

bool isLow(const TrendReading &reading, qint64 highestBefore)
{
    if (highestBefore == nothingHigher)
        return false;
    // max(1 GB, 1%), with the division only for the few falls past 1 GB.
    const double drop = difference(highestBefore, reading.totalUsed);
    return drop >= cleanupBytes &&
           drop >= static_cast<double>(reading.capacity) / cleanupCapacityDivisor;
}

// The latest run of low readings, followed as the history is walked.
class LatestRun
{
public:
    void add(std::span<const TrendReading> readings, size_t i, bool low)
    {
        if (low && !m_open) {
            m_first = m_lowest = i;
            m_found = true;
        } else if (low && readings[i].totalUsed < readings[m_lowest].totalUsed) {
            m_lowest = i;
        }
        m_open = low;
    }

    std::optional<size_t> windowStart(size_t last) const
    {
        if (!m_found)
            return std::nullopt;
        return m_lowest == last ? m_first : m_lowest;
    }

private:
    bool m_found = false;
    bool m_open = false;
    size_t m_first = 0;
    size_t m_lowest = 0;
};

qint64 withPrevious(std::span<const TrendReading> readings, size_t i, qint64 highest)
{
    return i == 0 ? highest : std::max(highest, readings[i - 1].totalUsed);
}

// Dates in order: the look-back of reading i is the readings [from, to), those
// dated in the cleanupLookBack before it. Its highest is the highest of
// [from, split), kept as suffix maxima, and of [split, to), kept as one
// running maximum; once `from` reaches split, the suffix maxima are made
// afresh up to `to`. Each reading enters them once, and no loop depends on
// the data's ups and downs, which keeps a long history fast.
class LookBackMaximum
{
public:
    explicit LookBackMaximum(std::span<const TrendReading> readings) : m_readings(readings) {}

    qint64 before(size_t i)
    {
        const double date = m_readings[i].date;
        for (; m_readings[m_to].date < date; ++m_to)
            m_recent = std::max(m_recent, m_readings[m_to].totalUsed);
        const double oldest = date - cleanupLookBack;
        while (m_from < m_to && m_readings[m_from].date < oldest)
            ++m_from;
        if (m_from >= m_split)
            restart();
        const qint64 older = m_from < m_split ? m_suffix[m_from - m_base] : nothingHigher;
        return std::max(older, m_recent);
    }

private:
    void restart()
    {
        m_base = m_from;
        m_split = m_to;
        m_suffix.resize(m_split - m_base);
        qint64 highest = nothingHigher;
        for (size_t j = m_split; j-- > m_base;)
            m_suffix[j - m_base] = highest = std::max(highest, m_readings[j].totalUsed);
        m_recent = nothingHigher;
    }

    std::span<const TrendReading> m_readings;
    std::vector<qint64> m_suffix; // the highest of [j, split), at j - base
    size_t m_base = 0, m_from = 0, m_split = 0, m_to = 0;
    qint64 m_recent = nothingHigher;
};

// Dates out of order: the highest of the readings walked so far in a date
// range, from a tree of maxima over the readings sorted by date.
class MaximumByDate
{
public:
    explicit MaximumByDate(std::span<const TrendReading> readings)
        : m_slot(readings.size()), m_tree(2 * readings.size(), nothingHigher)
    {
        std::vector<size_t> order(readings.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return readings[a].date < readings[b].date; });
        m_dates.reserve(readings.size());
        for (size_t k = 0; k < order.size(); ++k) {
            m_slot[order[k]] = k;
            m_dates.push_back(readings[order[k]].date);
        }
    }

    void insert(size_t reading, qint64 value)
    {
        size_t p = m_slot[reading] + m_slot.size();
        for (m_tree[p] = value; p > 1; p /= 2)
            m_tree[p / 2] = std::max(m_tree[p], m_tree[p ^ 1]);
    }

    // The highest value inserted for a date in [from, to).
    qint64 highest(double from, double to) const
    {
        const auto at = [&](double date) {
            return size_t(std::lower_bound(m_dates.begin(), m_dates.end(), date) -
                          m_dates.begin()) +
                   m_slot.size();
        };
        qint64 best = nothingHigher;
        for (size_t l = at(from), r = at(to); l < r; l /= 2, r /= 2) {
            if (l & 1)
                best = std::max(best, m_tree[l++]);
            if (r & 1)
                best = std::max(best, m_tree[--r]);
        }
        return best;
    }

private:
    std::vector<size_t> m_slot; // each reading's place in date order
    std::vector<double> m_dates;
    std::vector<qint64> m_tree;
};

std::optional<size_t> searchOutOfOrder(std::span<const TrendReading> readings)
{
    MaximumByDate earlier(readings);
    LatestRun run;
    for (size_t i = 0; i < readings.size(); ++i) {
        const double date = readings[i].date;
        const qint64 highest = earlier.highest(date - cleanupLookBack, date);
        run.add(readings, i, isLow(readings[i], withPrevious(readings, i, highest)));
        earlier.insert(i, readings[i].totalUsed);
    }
    return run.windowStart(readings.size() - 1);
}

} // namespace

std::optional<size_t> cleanupStart(std::span<const TrendReading> readings)
{
    LookBackMaximum earlier(readings);
    LatestRun run;
    qint64 highestYet = nothingHigher;
    for (size_t i = 0; i < readings.size(); ++i) {
        const TrendReading &reading = readings[i];
        if (i > 0 && reading.date < readings[i - 1].date)
            return searchOutOfOrder(readings);
        // A reading that no earlier one tops by 1 GB cannot be low: a long
        // history that only grows never asks for its look-back.
        const bool low = difference(highestYet, reading.totalUsed) >= cleanupBytes &&
                         isLow(reading, withPrevious(readings, i, earlier.before(i)));
        run.add(readings, i, low);
        highestYet = std::max(highestYet, reading.totalUsed);
    }
    return run.windowStart(readings.size() - 1);
}
