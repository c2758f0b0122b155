#include "dates.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <string_view>

namespace {

// How far the local calendar fields run ahead of the instant, in seconds east
// of UTC. tm_gmtoff says so too, but it is not POSIX; and asking Qt's local
// time or time zone for every reading of a long history costs more than
// reading the history.
int utcOffset(const struct tm &fields, time_t instant)
{
    constexpr qint64 unixEpochJulianDay = 2440588; // 1970-01-01
    const int year = fields.tm_year + 1900;
    // QDate has no year 0: the year before 1 is -1 there.
    const QDate date(year > 0 ? year : year - 1, fields.tm_mon + 1, fields.tm_mday);
    const qint64 local = (date.toJulianDay() - unixEpochJulianDay) * 86400 + fields.tm_hour * 3600 +
                         fields.tm_min * 60 + fields.tm_sec;
    return static_cast<int>(local - instant);
}

} // namespace

double secondsSinceReference(const QDateTime &dateTime)
{
    return static_cast<double>(dateTime.toMSecsSinceEpoch() - referenceEpochSeconds * 1000) /
           1000.0;
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
    return LocalTime{fields.tm_year + 1900,  fields.tm_mon + 1, fields.tm_mday,
                     fields.tm_hour,         fields.tm_min,     fields.tm_sec,
                     utcOffset(fields, unix)};
}

namespace {

// Formatting runs once per reading when a long history is read, so the text
// is put together on the stack and becomes a string once, at its length.
class DateWriter
{
public:
    void put(char16_t c)
    {
        if (m_size < capacity)
            m_text[m_size++] = c;
    }

    // Zero-padded decimal.
    void number(long long value, int width)
    {
        if (value < 0) {
            put(u'-');
            value = -value;
        }
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        for (auto pad = width - (end - digits); pad > 0; --pad)
            put(u'0');
        for (const char *d = digits; d != end; ++d)
            put(char16_t(*d));
    }

    // +hhmm east of UTC, -hhmm west.
    void offset(int seconds)
    {
        put(seconds < 0 ? u'-' : u'+');
        number(std::abs(seconds) / 3600, 2);
        number(std::abs(seconds) % 3600 / 60, 2);
    }

    QString text() const { return QString(reinterpret_cast<const QChar *>(m_text), m_size); }

private:
    // Far more than any pattern of this file needs, fields at their widest.
    static constexpr qsizetype capacity = 128;
    char16_t m_text[capacity];
    qsizetype m_size = 0;
};

// A date pattern in the manner of Unicode TR 35: a run of y, M, d, H, m or s
// is that field zero-padded to the run's length, Z the zone offset as +hhmm,
// anything else is copied.
QString formatLocal(double seconds, std::u16string_view pattern)
{
    const std::optional<LocalTime> t = localTime(seconds);
    if (!t)
        return {};
    DateWriter out;
    for (size_t i = 0, run = 1; i < pattern.size(); i += run) {
        const char16_t c = pattern[i];
        run = std::min(pattern.find_first_not_of(c, i), pattern.size()) - i;
        const int width = int(run);
        switch (c) {
        case u'y':
            out.number(t->year, width);
            break;
        case u'M':
            out.number(t->month, width);
            break;
        case u'd':
            out.number(t->day, width);
            break;
        case u'H':
            out.number(t->hour, width);
            break;
        case u'm':
            out.number(t->minute, width);
            break;
        case u's':
            out.number(t->second, width);
            break;
        case u'Z':
            out.offset(t->offsetSeconds);
            break;
        default:
            for (size_t k = 0; k < run; ++k)
                out.put(c);
        }
    }
    return out.text();
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
