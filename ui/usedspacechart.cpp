#include "usedspacechart.h"

#include "chartvalues.h"

UsedSpaceChart::UsedSpaceChart(QWidget *parent)
    : ScrollingChart(QStringLiteral("Total Used GB"), parent)
{}

void UsedSpaceChart::setSeries(const QList<RateStats> &points)
{
    QList<QPointF> values;
    values.reserve(points.size());
    for (const RateStats &point : points)
        values.append({chartTime(point.date), static_cast<double>(usedSpaceGB(point.sizeTotal))});
    setAllPoints(std::move(values));
}
