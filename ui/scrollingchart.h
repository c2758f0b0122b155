#pragma once

#include "axisticks.h"
#include "units.h"
#include <QColor>
#include <QList>
#include <QPointF>

#include <QWidget>

#include <optional>
#include <utility>

class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QMouseEvent;
class QScrollBar;
class QValueAxis;
class QWheelEvent;

// A chart of one series over time that shows a window of a given length and
// scrolls sideways through the rest: by dragging, with the mouse wheel or with
// the scroll bar under it. Only the points of the window and their neighbours
// are handed to the chart, so long histories stay cheap to draw. The axes
// carry no titles; their ticks fall on round times and numbers, only as many
// as leave room for their labels at any size.
class ScrollingChart : public QWidget
{
    Q_OBJECT
public:
    // valueName names the y values wherever the chart describes its series,
    // as for accessibility; the x values are named "Date".
    explicit ScrollingChart(const QString &valueName, QWidget *parent = nullptr);

    // Keeps the window's right edge, or brings it back to the latest reading
    // when it lay past it.
    void setVisibleDuration(double seconds);
    double visibleDuration() const { return m_duration; }

    // The visible window, as milliseconds since 1970.
    double windowStart() const;
    double windowEnd() const { return windowStart() + m_duration * 1000.0; }
    // Moves the window by this many seconds, within the data.
    void scrollBy(double seconds);

    QChart *chart() const { return m_chart; }
    QScrollBar *scrollBar() const { return m_scrollBar; }
    QValueAxis *axisY() const { return m_axisY; }
    QCategoryAxis *axisX() const { return m_axisX; }
    // Every point of the series, x in milliseconds since 1970, in series order.
    const QList<QPointF> &allPoints() const { return m_all; }

    // The colour of the series' points and line.
    static QColor seriesColour();

protected:
    // Replaces the series and shows its latest readings.
    void setAllPoints(QList<QPointF> points);
    // The y range for the values [low, high] of the series.
    virtual std::pair<double, double> yBounds(double low, double high) const;
    // How far past the latest point the window may scroll, as milliseconds
    // since 1970; nothing beyond the points unless a chart says so.
    virtual double scrollsTo() const;
    // Called after the window or the y range moved.
    virtual void windowChanged() {}
    // Takes in a change of yBounds() or scrollsTo(), keeping the window
    // where it is.
    void refresh();

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpChart(const QString &valueName);
    bool startDrag(const QMouseEvent &event);
    bool drag(const QMouseEvent &event);
    bool scrollWithWheel(const QWheelEvent &event);
    void updateScrollRange();
    void updateYRange();
    void showWindow();
    void updateTicks();
    QList<TimeTick> chooseTimeTicks() const;
    QList<TimeTick> labelsInside(QList<TimeTick> ticks) const;
    bool labelsFit(const QList<TimeTick> &ticks) const;
    void setTimeTicks(const QList<TimeTick> &ticks);
    int valueTickRoom() const;
    double valueLabelHeight() const;
    double dataStart() const;
    double dataEnd() const;
    double latestEdge() const { return m_maxX + margin(); }
    int valueEndingAt(double edge) const;
    double margin() const { return m_duration * 1000.0 * 0.03; }

    QChart *m_chart;
    QChartView *m_view;
    QScrollBar *m_scrollBar;
    QLineSeries *m_points;
    QLineSeries *m_line;
    QCategoryAxis *m_axisX;
    QValueAxis *m_axisY;
    QList<TimeTick> m_timeTicks;
    // The time step whose labels fitted last, for this duration and width.
    mutable std::optional<std::pair<std::pair<double, double>, int>> m_fittedStep;
    double m_yLow = 0.0;
    double m_yHigh = 1.0;
    QList<QPointF> m_all;
    bool m_sorted = true;
    double m_minX = 0.0;
    double m_maxX = 0.0;
    double m_duration = 14 * secondsPerDay;
    qreal m_dragStartX = 0.0;
    int m_dragStartValue = 0;
    bool m_dragging = false;
};
