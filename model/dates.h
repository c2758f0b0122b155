#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// Instants are double seconds since 2001-01-01 00:00:00 UTC.
inline constexpr qint64 referenceEpochSeconds = 978307200; // 2001-01-01 in Unix time
inline constexpr double secondsInDay = 86400.0;
inline constexpr double secondsInWeek = 7 * secondsInDay;

double secondsSinceReference(const QDateTime &dateTime);
QDateTime dateTimeFromReference(double seconds);

// The calendar fields of an instant in the user's time zone, to the second.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int offsetSeconds = 0; // east of UTC
};

// Nothing for instants the C library's calendar cannot place (far beyond
// any real reading, only possible in an edited history file).
std::optional<LocalTime> localTime(double seconds);

// "HH:mm:ssZ yyyy-MM-dd" in local time, for instance 01:00:00+0100 2001-01-01;
// empty when the instant cannot be placed in the calendar.
QString formatDateStr(double seconds);

// "dd/MM/yyyy HH:mm:ss" in local time, for instance 05/01/2025 23:59:59, the
// form of the CSV export's date column; empty when the instant cannot be
// placed in the calendar.
QString formatExportDate(double seconds);
