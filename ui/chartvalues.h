#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include <utility>

// The charts' conversions of a series point, and the choice of the points
// that a visible window needs.

// Whole GB, truncated toward zero: 1,999,999,999 bytes plot as 1.
qint64 usedSpaceGB(qint64 sizeTotal);
// Bytes per second as GB per week.
double rateGBPerWeek(qint64 rateTotal);
// A reading's instant as the milliseconds since 1970 that date-time axes use.
double chartTime(double secondsSinceReference);

// The date axis's label pattern for a visible window of this many seconds:
// with the time of day up to 3 days, the date alone beyond.
QString dateAxisFormat(double visibleSeconds);

// Indices [first, last) of the points whose x lies in [from, to], widened by
// one point on either side so that the lines run out to the window's edges.
// `points` must be sorted by x.
std::pair<qsizetype, qsizetype> visibleSpan(const QList<QPointF> &points, double from, double to);

// The points to hand to a series for the window [from, to]: the visible span
// of sorted points; for points out of time order (an edited history), every
// point in the window and its neighbours in series order.
QList<QPointF> visiblePoints(const QList<QPointF> &points, bool sorted, double from, double to);
