#include "usedspacechart.h"

#include "chartrule.h"
#include "chartvalues.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <QtNumeric>

#include <algorithm>
#include <limits>

namespace {

constexpr double millisecondsPerSecond = 1000.0;

qint64 fillBytes(const RecentTrend &trend)
{
    // room is never negative; an edited history may still sum past the limit.
    qint64 sum = 0;
    if (qAddOverflow(trend.lastUsed, trend.room, &sum))
        return std::numeric_limits<qint64>::max();
    return sum;
}

double gbPerMillisecond(double bytesPerSecond)
{
    return bytesPerSecond / bytesPerGB / millisecondsPerSecond;
}

// From the last reading at `slope` to `end`, held at the fill level from
// where it reaches it when `hold`, ending there otherwise.
QList<QPointF> projected(QPointF start, double slope, double fill, double end, bool hold)
{
    if (slope > 0.0) {
        const double full = start.x() + (fill - start.y()) / slope;
        if (full < end)
            return hold ? QList<QPointF>{start, {full, fill}, {end, fill}}
                        : QList<QPointF>{start, {full, fill}};
    }
    return {start, {end, start.y() + slope * (end - start.x())}};
}

} // namespace

UsedSpaceChart::UsedSpaceChart(QWidget *parent)
    : ScrollingChart(QStringLiteral("Total Used GB"), parent), m_projection(new QLineSeries),
      m_band(new QAreaSeries(new QLineSeries(this), new QLineSeries(this))),
      m_full(new ChartRule(tr("Full"), this))
{
    QColor faint = seriesColour();
    faint.setAlphaF(0.15);
    m_band->setName(tr("Trend range"));
    m_band->setPen(Qt::NoPen);
    m_band->setBrush(faint);
    m_projection->setName(tr("Recent trend"));
    m_projection->setPen(QPen(seriesColour(), 1.5, Qt::DashLine));
    for (QAbstractSeries *series :
         {static_cast<QAbstractSeries *>(m_band), static_cast<QAbstractSeries *>(m_projection)}) {
        chart()->addSeries(series);
        series->attachAxis(axisX());
        series->attachAxis(axisY());
        series->setVisible(false);
    }
}

void UsedSpaceChart::setSeries(const QList<RateStats> &points)
{
    QList<QPointF> values;
    values.reserve(points.size());
    for (const RateStats &point : points)
        values.append({chartTime(point.date), static_cast<double>(usedSpaceGB(point.sizeTotal))});
    setAllPoints(std::move(values));
}

void UsedSpaceChart::setTrend(const RecentTrend &trend)
{
    m_trend.reset();
    if (trend.fit && trend.fit->growing()) {
        const TrendFit &fit = *trend.fit;
        Projection p{chartTime(trend.lastDate),
                     static_cast<double>(usedSpaceGB(trend.lastUsed)),
                     static_cast<double>(usedSpaceGB(fillBytes(trend))),
                     gbPerMillisecond(fit.slope),
                     gbPerMillisecond(fit.slopeLow),
                     gbPerMillisecond(fit.slopeHigh),
                     0.0};
        p.fullDate = p.start + (p.fill - p.used) / p.slope;
        m_trend = p;
    }
    refresh();
}

double UsedSpaceChart::projectionEnd() const
{
    return m_trend->start +
           std::min(m_trend->fullDate - m_trend->start, visibleDuration() * millisecondsPerSecond);
}

double UsedSpaceChart::scrollsTo() const
{
    return m_trend ? projectionEnd() : ScrollingChart::scrollsTo();
}

std::pair<double, double> UsedSpaceChart::yBounds(double low, double high) const
{
    if (!m_trend)
        return {low, high};
    // The line stays in view as far as the chart scrolls.
    const double reached = m_trend->used + m_trend->slope * (projectionEnd() - m_trend->start);
    return {std::min(low, m_trend->used), std::max(high, std::min(reached, m_trend->fill))};
}

void UsedSpaceChart::windowChanged()
{
    const bool shown = m_trend.has_value();
    m_projection->setVisible(shown);
    m_band->setVisible(shown);
    m_full->setVisible(shown && m_trend->fill >= axisY()->min() && m_trend->fill <= axisY()->max());
    if (shown)
        drawProjection();
}

void UsedSpaceChart::drawProjection()
{
    const Projection &p = *m_trend;
    const QPointF start(p.start, p.used);
    const double end = std::max(p.start, windowEnd());
    m_projection->replace(projected(start, p.slope, p.fill, end, false));
    m_band->upperSeries()->replace(projected(start, p.high, p.fill, end, true));
    m_band->lowerSeries()->replace(projected(start, p.low, p.fill, end, true));
    m_full->place(windowStart(), windowEnd(), p.fill);
}
