#include "chartvalues.h"

#include "dates.h"
#include "units.h"

#include <algorithm>

qint64 usedSpaceGB(qint64 sizeTotal)
{
    return sizeTotal / bytesPerGB;
}

double rateGBPerWeek(qint64 rateTotal)
{
    return static_cast<double>(rateTotal) * gbPerWeekPerBytePerSecond;
}

double chartTime(double secondsSinceReference)
{
    return (secondsSinceReference + referenceEpochSeconds) * 1000.0;
}

QString dateAxisFormat(double visibleSeconds)
{
    constexpr double timeOfDayUpTo = 3 * secondsPerDay;
    return visibleSeconds <= timeOfDayUpTo ? QStringLiteral("d MMM HH:mm")
                                           : QStringLiteral("d MMM");
}

std::pair<qsizetype, qsizetype> visibleSpan(const QList<QPointF> &points, double from, double to)
{
    const auto byX = [](const QPointF &p, double x) { return p.x() < x; };
    const auto xBelow = [](double x, const QPointF &p) { return x < p.x(); };
    const auto begin = std::lower_bound(points.begin(), points.end(), from, byX);
    const auto end = std::upper_bound(begin, points.end(), to, xBelow);
    const qsizetype first = std::max<qsizetype>(0, (begin - points.begin()) - 1);
    const qsizetype last = std::min<qsizetype>(points.size(), (end - points.begin()) + 1);
    return {first, std::max(first, last)};
}

QList<QPointF> visiblePoints(const QList<QPointF> &points, bool sorted, double from, double to)
{
    if (sorted) {
        const auto [first, last] = visibleSpan(points, from, to);
        return points.mid(first, last - first);
    }
    QList<QPointF> result;
    const auto inside = [&](qsizetype i) {
        return i >= 0 && i < points.size() && points[i].x() >= from && points[i].x() <= to;
    };
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (inside(i - 1) || inside(i) || inside(i + 1))
            result.append(points[i]);
    }
    return result;
}
