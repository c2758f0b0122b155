#include "chartrule.h"

#include "scrollingchart.h"

#include <QCategoryAxis>
#include <QChart>
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

ChartRule::ChartRule(const QString &caption, ScrollingChart *owner)
    : QObject(owner), m_owner(owner), m_series(new QLineSeries),
      m_caption(new QGraphicsSimpleTextItem(caption, owner->chart()))
{
    m_series->setName(caption);
    m_series->setPen(rulePen());
    owner->chart()->addSeries(m_series);
    m_series->attachAxis(owner->axisX());
    m_series->attachAxis(owner->axisY());

    QFont small = owner->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_caption->setFont(small);
    // Dimmed: the text colour at about half strength.
    QColor dimmed = owner->palette().color(QPalette::WindowText);
    dimmed.setAlphaF(0.55);
    m_caption->setBrush(dimmed);
    m_caption->setZValue(10);
    setVisible(false);
    connect(owner->chart(), &QChart::plotAreaChanged, this, &ChartRule::placeCaption);
    connect(owner->axisY(), &QValueAxis::rangeChanged, this, &ChartRule::placeCaption);
}

void ChartRule::setVisible(bool visible)
{
    m_series->setVisible(visible);
    m_caption->setVisible(visible);
}

void ChartRule::place(double from, double to, double y)
{
    m_series->replace({QPointF(from, y), QPointF(to, y)});
    placeCaption();
}

void ChartRule::placeCaption()
{
    if (m_series->count() == 0)
        return;
    const QPointF leftEnd = m_owner->chart()->mapToPosition(m_series->at(0), m_series);
    const qreal height = m_caption->boundingRect().height();
    m_caption->setPos(leftEnd.x() + captionGap, leftEnd.y() - captionGap - height);
}
