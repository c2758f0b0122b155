#pragma once

#include <QObject>

class QGraphicsSimpleTextItem;
class QLineSeries;
class ScrollingChart;

// A dashed gray level across a chart's visible window, captioned just above
// its left end.
class ChartRule : public QObject
{
    Q_OBJECT
public:
    // Added to the owner's chart, hidden until shown.
    ChartRule(const QString &caption, ScrollingChart *owner);

    void setVisible(bool visible);
    // Spans [from, to] (milliseconds since 1970) at the value y.
    void place(double from, double to, double y);

private:
    void placeCaption();

    ScrollingChart *m_owner;
    QLineSeries *m_series;
    QGraphicsSimpleTextItem *m_caption;
};
