#pragma once

#include <QList>
#include <QString>

// Where the charts' axes put their ticks: the time axis on round times, the
// value axis on round numbers, never more than their labels have room for.

// A labelled tick of the time axis, at milliseconds since 1970.
struct TimeTick {
    double at = 0.0;
    QString label;
    bool operator==(const TimeTick &) const = default;
};

// The spacings, in hours, that the time axis may take for a window this many
// seconds long, closest first: whole hours up to 3 days, whole days beyond.
QList<int> timeSteps(double visibleSeconds);

// The ticks in [from, to] (milliseconds since 1970) every `hours` hours of
// local time: at the hours of the day divisible by it (00:00, 06:00, 12:00,
// 18:00 for 6), or at the midnights of every (hours / 24)th day, counted so
// that they stay put while the window scrolls. Labels follow `format`. Past
// the dates a calendar can name there are none.
QList<TimeTick> ticksEvery(int hours, double from, double to, const QString &format);

// A value axis's range and tick spacing.
struct ValueTicks {
    double low = 0.0;
    double high = 1.0;
    double step = 1.0;
};

// The smallest step of 1, 2 or 5 times a power of ten that covers [low, high]
// with at most maxTicks ticks on multiples of it (at least 2).
ValueTicks valueTicks(double low, double high, int maxTicks);
