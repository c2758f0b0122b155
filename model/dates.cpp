#include "dates.h"

#include <charconv>
#include <cmath>
#include <ctime>

double secondsSinceReference(const QDateTime &dateTime)
{
    return static_cast<double>(dateTime.toMSecsSinceEpoch() - referenceEpochSeconds * 1000) /
           1000.0;
}

QDateTime dateTimeFromReference(double seconds)
{
    const double msecs =
        std::round((seconds + static_cast<double>(referenceEpochSeconds)) * 1000.0);
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(msecs), Qt::UTC);
}

std::optional<LocalTime> localTime(double seconds)
{
    // Beyond about ±2.9e11 years the year no longer fits struct tm.
    constexpr double limit = 9e15;
    if (!std::isfinite(seconds) || std::fabs(seconds) > limit)
        return std::nullopt;
    const auto unix =
        static_cast<time_t>(std::floor(seconds) + static_cast<double>(referenceEpochSeconds));
    struct tm fields {};
    if (!localtime_r(&unix, &fields))
        return std::nullopt;
    return LocalTime{fields.tm_year + 1900,
                     fields.tm_mon + 1,
                     fields.tm_mday,
                     fields.tm_hour,
                     fields.tm_min,
                     fields.tm_sec,
                     static_cast<int>(fields.tm_gmtoff)};
}

namespace {

// Zero-padded decimal without a temporary string: formatting runs once per
// reading when a long history is read.
void appendNumber(QString &out, long long value, int width)
{
    if (value < 0) {
        out += u'-';
        value = -value;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto pad = width - (end - digits); pad > 0; --pad)
        out += u'0';
    for (const char *d = digits; d != end; ++d)
        out += QLatin1Char(*d);
}

} // namespace

QString formatDateStr(double seconds)
{
    const std::optional<LocalTime> t = localTime(seconds);
    if (!t)
        return {};
    QString out;
    out.reserve(24);
    appendNumber(out, t->hour, 2);
    out += u':';
    appendNumber(out, t->minute, 2);
    out += u':';
    appendNumber(out, t->second, 2);
    const int offset = t->offsetSeconds;
    out += offset < 0 ? u'-' : u'+';
    appendNumber(out, std::abs(offset) / 3600, 2);
    appendNumber(out, std::abs(offset) % 3600 / 60, 2);
    out += u' ';
    appendNumber(out, t->year, 4);
    out += u'-';
    appendNumber(out, t->month, 2);
    out += u'-';
    appendNumber(out, t->day, 2);
    return out;
}
