#include "axisticks.h"

#include "units.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>

namespace {

constexpr int hoursPerDay = 24;
// The ECMAScript limit of dates, well inside what QDateTime can count.
constexpr double furthestMilliseconds = 8.64e15;

} // namespace

QList<int> timeSteps(double visibleSeconds)
{
    if (visibleSeconds <= 3 * secondsPerDay)
        return {1, 2, 3, 6, 12, 24};
    return {24, 48, 72, 96, 168, 336};
}

QList<TimeTick> ticksEvery(int hours, double from, double to, const QString &format)
{
    if (!(from >= -furthestMilliseconds && to <= furthestMilliseconds) || hours <= 0)
        return {};
    const int everyDays = hours / hoursPerDay;
    const int everyHours = std::min(hours, hoursPerDay);
    const QLocale locale;
    QList<TimeTick> ticks;
    QDate day = QDateTime::fromMSecsSinceEpoch(qint64(from)).date();
    const QDate last = QDateTime::fromMSecsSinceEpoch(qint64(to)).date();
    for (; day <= last; day = day.addDays(1)) {
        if (everyDays > 0 && day.toJulianDay() % everyDays != 0)
            continue;
        for (int hour = 0; hour < hoursPerDay; hour += everyHours) {
            const QDateTime at(day, QTime(hour, 0));
            const double ms = double(at.toMSecsSinceEpoch());
            if (ms >= from && ms <= to)
                ticks.append({ms, locale.toString(at, format)});
        }
    }
    return ticks;
}

ValueTicks valueTicks(double low, double high, int maxTicks)
{
    if (!std::isfinite(low) || !std::isfinite(high) || high <= low)
        return {low, low + 1.0, 1.0};
    // A range across zero takes 3 ticks at least, however large the step.
    maxTicks = std::max(maxTicks, low < 0.0 && high > 0.0 ? 3 : 2);
    double power = std::pow(10.0, std::floor(std::log10((high - low) / (maxTicks - 1))));
    for (;; power *= 10.0) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            const double step = factor * power;
            const double first = std::floor(low / step);
            const double last = std::ceil(high / step);
            if (last - first + 1.0 <= maxTicks)
                return {first * step, last * step, step};
        }
    }
}
