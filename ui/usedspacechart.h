#pragma once

#include "ratestats.h"
#include "recenttrend.h"
#include "scrollingchart.h"

#include <optional>

class ChartRule;
class QAreaSeries;

// The selected container's used space in whole GB over time. Its y range
// follows the data and need not include zero.
//
// A growing recent trend is drawn ahead of its last reading: a dashed line at
// the trend's slope up to the level at which the container is full, a faint
// band between the low and high slopes, and a rule captioned "Full" at that
// level while it is in view. The chart then scrolls past the last reading up
// to the fill date, at most one window's length.
class UsedSpaceChart : public ScrollingChart
{
    Q_OBJECT
public:
    explicit UsedSpaceChart(QWidget *parent = nullptr);

    void setSeries(const QList<RateStats> &points);
    // Independent of the series: a trend without a fit, or one that is not
    // growing, removes the projection.
    void setTrend(const RecentTrend &trend);

protected:
    std::pair<double, double> yBounds(double low, double high) const override;
    double scrollsTo() const override;
    void windowChanged() override;

private:
    // The trend in the chart's units: milliseconds since 1970, whole GB.
    struct Projection {
        double start; // the last reading
        double used;  // its used space
        double fill;  // the used space when full
        double slope; // GB per millisecond
        double low;   // the range's slopes
        double high;
        double fullDate; // where the line at `slope` reaches `fill`
    };

    double projectionEnd() const;
    void drawProjection();

    QLineSeries *m_projection;
    QAreaSeries *m_band;
    ChartRule *m_full;
    std::optional<Projection> m_trend;
};
