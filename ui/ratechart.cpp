#include "ratechart.h"

#include "chartrule.h"
#include "chartvalues.h"

#include <algorithm>

RateChart::RateChart(QWidget *parent)
    : ScrollingChart(QStringLiteral("Rate GB/week"), parent),
      m_rule(new ChartRule(tr("Overall Rate"), this))
{}

void RateChart::setSeries(const QList<RateStats> &points, double overallRate)
{
    m_overallRate = overallRate;
    QList<QPointF> values;
    values.reserve(points.size());
    for (const RateStats &point : points)
        values.append({chartTime(point.date), rateGBPerWeek(point.rateTotal)});
    setAllPoints(std::move(values));
}

bool RateChart::hasRule() const
{
    return !allPoints().isEmpty();
}

std::pair<double, double> RateChart::yBounds(double low, double high) const
{
    // Like an automatic domain: from zero, and the rule always in view.
    if (!hasRule())
        return {std::min(low, 0.0), std::max(high, 0.0)};
    return {std::min({low, 0.0, m_overallRate}), std::max({high, 0.0, m_overallRate})};
}

void RateChart::windowChanged()
{
    m_rule->setVisible(hasRule());
    // The rule spans the whole visible window.
    m_rule->place(windowStart(), windowEnd(), m_overallRate);
}
