#pragma once

#include <QString>
#include <QStringList>

// The main window's lines of text. Numbers print as printf's "%lf" and
// "%lld", always with a "." decimal point.

QStringList helpLines();
QString summaryLine(qint64 maxSizeTotal, double minFree);
QString rateLine(double overallRate);
QString forecastLine(qint64 timeToRun);
