#include "dates.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <string_view>

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

void appendOffset(QString &out, int offsetSeconds)
{
    out += offsetSeconds < 0 ? u'-' : u'+';
    appendNumber(out, std::abs(offsetSeconds) / 3600, 2);
    appendNumber(out, std::abs(offsetSeconds) % 3600 / 60, 2);
}

int field(const LocalTime &t, char16_t letter)
{
    switch (letter) {
    case u'y':
        return t.year;
    case u'M':
        return t.month;
    case u'd':
        return t.day;
    case u'H':
        return t.hour;
    case u'm':
        return t.minute;
    default:
        return t.second;
    }
}

// A date pattern in the manner of Unicode TR 35: a run of y, M, d, H, m or s
// is that field zero-padded to the run's length, Z the zone offset as +hhmm,
// anything else is copied.
QString formatLocal(double seconds, std::u16string_view pattern)
{
    const std::optional<LocalTime> t = localTime(seconds);
    if (!t)
        return {};
    QString out;
    out.reserve(qsizetype(pattern.size()) + 4);
    for (size_t i = 0, run = 1; i < pattern.size(); i += run) {
        const char16_t c = pattern[i];
        run = pattern.find_first_not_of(c, i) - i; // npos - i is past the end too
        run = std::min(run, pattern.size() - i);
        if (c == u'Z')
            appendOffset(out, t->offsetSeconds);
        else if (std::u16string_view(u"yMdHms").find(c) != std::u16string_view::npos)
            appendNumber(out, field(*t, c), int(run));
        else
            out += QStringView(pattern.substr(i, run));
    }
    return out;
}

} // namespace

QString formatDateStr(double seconds)
{
    return formatLocal(seconds, u"HH:mm:ssZ yyyy-MM-dd");
}

QString formatExportDate(double seconds)
{
    return formatLocal(seconds, u"dd/MM/yyyy HH:mm:ss");
}
