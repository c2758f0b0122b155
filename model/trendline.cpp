#include "trendline.h"

#include "dates.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// The locale's long date without the weekday: "14 March 2027" in Britain,
// "March 14, 2027" in the United States.
QString datePattern(const QLocale &locale)
{
    static const QRegularExpression weekday(QStringLiteral("^dddd[,\\s]*|[,\\s]*dddd$"));
    return locale.dateFormat(QLocale::LongFormat).remove(weekday);
}

// Nothing for no date, or one no calendar can place.
std::optional<QString> dayText(std::optional<double> seconds, const QLocale &locale)
{
    const std::optional<LocalTime> t = seconds ? localTime(*seconds) : std::nullopt;
    const QDate day = t ? QDate(t->year, t->month, t->day) : QDate();
    if (!day.isValid())
        return std::nullopt;
    return locale.toString(day, datePattern(locale));
}

QString header(const RecentTrend &trend, const QLocale &locale)
{
    QString text = QStringLiteral("Recent trend");
    if (trend.sinceCleanup) {
        const std::optional<QString> on = dayText(trend.cleanup, locale);
        text += QStringLiteral(" since the cleanup") + (on ? u" on " + *on : QString());
    }
    if (trend.fit) {
        const qlonglong days = std::max<qlonglong>(1, qRound64(trend.span / secondsPerDay));
        text += u" (" + locale.toString(days) + (days == 1 ? u" day, " : u" days, ") +
                locale.toString(qlonglong(trend.readings)) + u" readings)";
    }
    return text + u": ";
}

// One decimal; small rates get up to three so that they do not all read 0.0.
int rateDecimals(const TrendFit &fit)
{
    const double largest =
        std::max({std::fabs(fit.rate), std::fabs(fit.rateLow), std::fabs(fit.rateHigh)});
    if (!(largest > 0.0 && std::isfinite(largest)))
        return 1;
    return std::clamp(1 - static_cast<int>(std::floor(std::log10(largest))), 1, 3);
}

QString rateText(double rate, int decimals, const QLocale &locale)
{
    // A rate that rounds to zero reads 0.0, not -0.0.
    if (std::fabs(rate) * std::pow(10.0, decimals) < 0.5)
        rate = 0.0;
    return locale.toString(rate, 'f', decimals);
}

QString ratesText(const TrendFit &fit, const QLocale &locale)
{
    const int decimals = rateDecimals(fit);
    return rateText(fit.rate, decimals, locale) + u" GB/week (" +
           rateText(fit.rateLow, decimals, locale) + u" to " +
           rateText(fit.rateHigh, decimals, locale) + u")";
}

QString fillText(const TrendFit &fit, const QLocale &locale)
{
    if (!fit.growing())
        return QStringLiteral("not growing");
    const std::optional<QString> full = dayText(fit.full, locale);
    const std::optional<QString> earliest = dayText(fit.fullEarliest, locale);
    const std::optional<QString> latest = dayText(fit.fullLatest, locale);
    QString text = full ? u"full around " + *full : QStringLiteral("may never fill");
    // Nothing more when the range falls within a day.
    if (earliest && !latest)
        text += u" (earliest " + *earliest + u"; may never fill)";
    else if (earliest && *earliest != *latest)
        text += u" (between " + *earliest + u" and " + *latest + u")";
    return text;
}

} // namespace

QString trendLine(const RecentTrend &trend, const QLocale &locale)
{
    if (!trend.fit)
        return header(trend, locale) + u"needs " +
               locale.toString(qlonglong(trendMinimumReadings)) + u" readings over at least a day";
    return header(trend, locale) + ratesText(*trend.fit, locale) + u"; " +
           fillText(*trend.fit, locale);
}
