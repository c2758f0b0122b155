#include "ratechart.h"

#include "chartvalues.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QPalette>
#include <QValueAxis>

namespace {

QPen rulePen()
{
    QPen pen(Qt::gray, 1.0, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10.0);
    pen.setDashPattern({6.0, 4.0}); // in pen widths: 6 px on, 4 px off
    pen.setDashOffset(0.0);
    return pen;
}

// The caption sits 4 px from the rule's left end.
constexpr qreal captionGap = 4.0;

} // namespace

RateChart::RateChart(QWidget *parent)
    : ScrollingChart(QStringLiteral("Rate GB/week"), parent), m_rule(new QLineSeries),
      m_caption(new QGraphicsSimpleTextItem(tr("Overall Rate"), chart()))
{
    m_rule->setName(tr("Overall Rate"));
    m_rule->setPen(rulePen());
    chart()->addSeries(m_rule);
    m_rule->attachAxis(axisX());
    m_rule->attachAxis(axisY());
    m_rule->setVisible(false);

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_caption->setFont(small);
    // Dimmed: the text colour at about half strength.
    QColor dimmed = palette().color(QPalette::WindowText);
    dimmed.setAlphaF(0.55);
    m_caption->setBrush(dimmed);
    m_caption->setZValue(10);
    m_caption->setVisible(false);
    connect(chart(), &QChart::plotAreaChanged, this, &RateChart::placeCaption);
    connect(axisY(), &QValueAxis::rangeChanged, this, &RateChart::placeCaption);
}

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
    m_caption->setVisible(hasRule());
    // The rule spans the whole visible window.
    m_rule->replace({QPointF(windowStart(), m_overallRate), QPointF(windowEnd(), m_overallRate)});
    placeCaption();
}

void RateChart::placeCaption()
{
    const QPointF leftEnd = chart()->mapToPosition(QPointF(windowStart(), m_overallRate), m_rule);
    const qreal height = m_caption->boundingRect().height();
    m_caption->setPos(leftEnd.x() + captionGap, leftEnd.y() - captionGap - height);
}
