#pragma once

#include "ratestats.h"
#include "scrollingchart.h"

class ChartRule;
class QGraphicsSimpleTextItem;

// The growth rate between consecutive readings in GB per week, with the
// container's overall rate as a dashed gray rule captioned "Overall Rate".
// The rule is shown only while the series has points.
class RateChart : public ScrollingChart
{
    Q_OBJECT
public:
    explicit RateChart(QWidget *parent = nullptr);

    void setSeries(const QList<RateStats> &points, double overallRate);
    bool hasRule() const;

protected:
    std::pair<double, double> yBounds(double low, double high) const override;
    void windowChanged() override;

private:
    ChartRule *m_rule;
    double m_overallRate = 0.0;
};
