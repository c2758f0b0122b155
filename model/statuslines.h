#pragma once

#include "ratestats.h"

#include <QList>
#include <QString>
#include <QStringList>

// The main window's lines of text. Numbers print as printf's "%lf" and
// "%lld", always with a "." decimal point.

QStringList helpLines();
QString summaryLine(qint64 maxSizeTotal, double minFree);
QString rateLine(double overallRate);
// Ends "not growing" instead of "0 weeks" when the series spans some time
// and did not grow over it: there is no time at which it fills, and 0 weeks
// would read as full now.
QString forecastLine(qint64 timeToRun, const QList<RateStats> &series, double overallRate);
