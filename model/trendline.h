#pragma once

#include "recenttrend.h"

#include <QLocale>
#include <QString>

// The line that describes a container's recent trend: English words, numbers
// and dates in the locale's forms, for instance "Recent trend (30 days, 212
// readings): 4.2 GB/week (3.9 to 4.6); full around 14 March 2027 (between
// 2 February 2027 and 30 April 2027)". Dates are the user's local days.
QString trendLine(const RecentTrend &trend, const QLocale &locale = QLocale());
