#include "scrollingchart.h"

#include "chartvalues.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QWheelEvent>

#include <algorithm>
#include <climits>

namespace {

// A point's symbol covers about 25 square pixels; the chart takes a radius.
constexpr qreal markerRadius = 2.8;
// One wheel notch moves a tenth of the window.
constexpr double wheelFraction = 0.1;

} // namespace

ScrollingChart::ScrollingChart(const QString &valueName, QWidget *parent)
    : QWidget(parent), m_chart(new QChart), m_view(new QChartView(m_chart)),
      m_scrollBar(new QScrollBar(Qt::Horizontal)), m_points(new QLineSeries),
      m_line(new QLineSeries), m_axisX(new QDateTimeAxis), m_axisY(new QValueAxis)
{
    setUpChart(valueName);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setAccessibleName(valueName);
    m_view->viewport()->installEventFilter(this);
    m_view->setMinimumHeight(120);
    // A history file dropped on a chart goes to the window.
    m_view->setAcceptDrops(false);
    m_view->viewport()->setAcceptDrops(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_scrollBar);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &ScrollingChart::showWindow);
    updateScrollRange();
    updateYRange();
    showWindow();
}

QColor ScrollingChart::seriesColour()
{
    return QColor(QStringLiteral("#209fdf"));
}

void ScrollingChart::setUpChart(const QString &valueName)
{
    m_chart->legend()->hide();
    m_chart->setMargins(QMargins(10, 4, 10, 4));
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);
    m_axisX->setFormat(dateAxisFormat(m_duration));
    m_axisX->setTitleText(tr("Date"));
    m_axisX->setTickCount(8);
    m_axisY->setLabelFormat(QStringLiteral("%g"));

    // Points first, the line over them. The point series draws only markers.
    QPen markerPen(seriesColour());
    markerPen.setStyle(Qt::NoPen);
    m_points->setPen(markerPen);
    m_points->setColor(seriesColour());
    m_points->setPointsVisible(true);
    m_points->setMarkerSize(markerRadius);
    m_line->setPen(QPen(seriesColour(), 2));
    for (QLineSeries *series : {m_points, m_line}) {
        series->setName(valueName);
        m_chart->addSeries(series);
        series->attachAxis(m_axisX);
        series->attachAxis(m_axisY);
    }
}

void ScrollingChart::setAllPoints(QList<QPointF> points)
{
    m_all = std::move(points);
    const auto byX = [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); };
    m_sorted = std::is_sorted(m_all.cbegin(), m_all.cend(), byX);
    const auto [low, high] = std::minmax_element(m_all.cbegin(), m_all.cend(), byX);
    m_minX = m_all.isEmpty() ? 0.0 : low->x();
    m_maxX = m_all.isEmpty() ? 0.0 : high->x();
    updateYRange();
    updateScrollRange();
    const QSignalBlocker quiet(m_scrollBar);
    m_scrollBar->setValue(latestReadingsValue());
    showWindow();
}

void ScrollingChart::refresh()
{
    updateYRange();
    updateScrollRange();
    showWindow();
}

void ScrollingChart::setVisibleDuration(double seconds)
{
    if (seconds == m_duration)
        return;
    const int value = m_scrollBar->value();
    const bool atLatest = value == latestReadingsValue();
    const bool atEnd = value == m_scrollBar->maximum();
    m_duration = seconds;
    m_axisX->setFormat(dateAxisFormat(m_duration));
    updateYRange();
    updateScrollRange();
    const QSignalBlocker quiet(m_scrollBar);
    if (atLatest)
        m_scrollBar->setValue(latestReadingsValue());
    else if (atEnd)
        m_scrollBar->setValue(m_scrollBar->maximum());
    showWindow();
}

double ScrollingChart::dataStart() const
{
    return m_minX - margin();
}

double ScrollingChart::dataEnd() const
{
    if (m_all.isEmpty())
        return QDateTime::currentMSecsSinceEpoch();
    return std::max(m_maxX, scrollsTo()) + margin();
}

double ScrollingChart::scrollsTo() const
{
    return m_maxX;
}

// The scroll bar's value for the window that ends with the latest points.
int ScrollingChart::latestReadingsValue() const
{
    const double extra = (m_maxX + margin() - dataStart()) / 1000.0 - m_duration;
    return static_cast<int>(std::clamp(extra, 0.0, 1.0 * m_scrollBar->maximum()));
}

double ScrollingChart::windowStart() const
{
    const double window = m_duration * 1000.0;
    // A history shorter than the window sits at its right, by the latest reading.
    if (m_all.isEmpty() || dataEnd() - dataStart() <= window)
        return dataEnd() - window;
    return dataStart() + m_scrollBar->value() * 1000.0;
}

void ScrollingChart::scrollBy(double seconds)
{
    m_scrollBar->setValue(m_scrollBar->value() + static_cast<int>(seconds));
}

void ScrollingChart::updateScrollRange()
{
    // The scroll bar counts whole seconds from the start of the data.
    const double extra = (dataEnd() - dataStart()) / 1000.0 - m_duration;
    const int maximum =
        m_all.isEmpty() ? 0 : static_cast<int>(std::clamp(extra, 0.0, 1.0 * INT_MAX));
    const QSignalBlocker quiet(m_scrollBar);
    m_scrollBar->setRange(0, maximum);
    m_scrollBar->setPageStep(static_cast<int>(std::min(m_duration, 1.0 * INT_MAX)));
    m_scrollBar->setSingleStep(static_cast<int>(m_duration * wheelFraction));
}

std::pair<double, double> ScrollingChart::yBounds(double low, double high) const
{
    return {low, high};
}

void ScrollingChart::updateYRange()
{
    double low = 0.0;
    double high = 0.0;
    if (!m_all.isEmpty()) {
        const auto byY = [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); };
        const auto [min, max] = std::minmax_element(m_all.cbegin(), m_all.cend(), byY);
        low = min->y();
        high = max->y();
    }
    std::tie(low, high) = yBounds(low, high);
    // A little room, so that the highest and lowest points are not cut in half.
    const double room = std::max(0.5, (high - low) * 0.03);
    low -= room;
    high += room;
    m_axisY->setRange(low, high);
    m_axisY->applyNiceNumbers();
}

void ScrollingChart::showWindow()
{
    const double from = windowStart();
    const double to = windowEnd();
    m_axisX->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(from)),
                      QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(to)));
    const QList<QPointF> shown = visiblePoints(m_all, m_sorted, from, to);
    m_points->replace(shown);
    m_line->replace(shown);
    windowChanged();
}

bool ScrollingChart::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return startDrag(*static_cast<QMouseEvent *>(event));
        case QEvent::MouseMove:
            return drag(*static_cast<QMouseEvent *>(event));
        case QEvent::MouseButtonRelease:
            m_dragging = false;
            break;
        case QEvent::Wheel:
            return scrollWithWheel(*static_cast<QWheelEvent *>(event));
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ScrollingChart::startDrag(const QMouseEvent &event)
{
    m_dragging = event.button() == Qt::LeftButton;
    m_dragStartX = event.position().x();
    m_dragStartValue = m_scrollBar->value();
    return m_dragging;
}

bool ScrollingChart::drag(const QMouseEvent &event)
{
    if (!m_dragging)
        return false;
    // The data follows the pointer: dragging right shows earlier readings.
    const qreal plotWidth = std::max<qreal>(1.0, m_chart->plotArea().width());
    const double seconds = (event.position().x() - m_dragStartX) * m_duration / plotWidth;
    m_scrollBar->setValue(m_dragStartValue - static_cast<int>(seconds));
    return true;
}

bool ScrollingChart::scrollWithWheel(const QWheelEvent &event)
{
    const QPoint delta = event.angleDelta();
    const int eighths = delta.x() != 0 ? delta.x() : delta.y();
    scrollBy(-eighths / 120.0 * m_duration * wheelFraction);
    return true;
}
