#include "scrollingchart.h"

#include "chartvalues.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QGraphicsLayout>
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
// Qt Charts pads each axis label by this much on either side, and elides a
// label that is wider, or taller, than its share of the axis.
constexpr double labelPadding = 4.0;
// Room that keeps labels apart, and the margin, with a pixel to spare, that
// Qt Charts lays around a label's text.
constexpr double labelGap = 16.0;
constexpr double labelTextMargin = 3.0;
// No more value ticks than this, however tall the chart.
constexpr int mostValueTicks = 6;

} // namespace

ScrollingChart::ScrollingChart(const QString &valueName, QWidget *parent)
    : QWidget(parent), m_chart(new QChart), m_view(new QChartView(m_chart)),
      m_scrollBar(new QScrollBar(Qt::Horizontal)), m_points(new QLineSeries),
      m_line(new QLineSeries), m_axisX(new QCategoryAxis), m_axisY(new QValueAxis)
{
    setUpChart(valueName);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setAccessibleName(valueName);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->viewport()->installEventFilter(this);
    // Three value labels, the fewest that a range across zero needs.
    m_view->setMinimumHeight(int(3 * (valueLabelHeight() + 2 * labelPadding)) + 6);
    // A history file dropped on a chart goes to the window.
    m_view->setAcceptDrops(false);
    m_view->viewport()->setAcceptDrops(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_scrollBar);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &ScrollingChart::showWindow);
    connect(m_chart, &QChart::plotAreaChanged, this, &ScrollingChart::updateTicks);
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
    m_chart->layout()->setContentsMargins(0, 0, 0, 0);
    m_chart->setBackgroundRoundness(0);
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);
    // The names are the axes' titles, kept for those who read them out, not drawn.
    m_axisX->setTitleText(tr("Date"));
    m_axisY->setTitleText(valueName);
    for (QAbstractAxis *axis :
         {static_cast<QAbstractAxis *>(m_axisX), static_cast<QAbstractAxis *>(m_axisY)})
        axis->setTitleVisible(false);
    m_axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_axisY->setLabelFormat(QStringLiteral("%g"));
    m_axisY->setTickType(QValueAxis::TicksDynamic);

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
    m_scrollBar->setValue(valueEndingAt(latestEdge()));
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
    // Scroll positions are whole seconds: an edge within one of the latest
    // readings' is theirs.
    const double edge = windowEnd();
    const bool pastLatest = edge >= latestEdge() - 1000.0;
    m_duration = seconds;
    updateYRange();
    updateScrollRange();
    const QSignalBlocker quiet(m_scrollBar);
    m_scrollBar->setValue(valueEndingAt(pastLatest ? latestEdge() : edge));
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

// The scroll bar's value for the window that ends at edge, within the data.
int ScrollingChart::valueEndingAt(double edge) const
{
    const double extra = (edge - dataStart()) / 1000.0 - m_duration;
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
    m_yLow = low - room;
    m_yHigh = high + room;
    updateTicks();
}

void ScrollingChart::showWindow()
{
    const double from = windowStart();
    const double to = windowEnd();
    m_axisX->setRange(from, to);
    const QList<QPointF> shown = visiblePoints(m_all, m_sorted, from, to);
    m_points->replace(shown);
    m_line->replace(shown);
    updateTicks();
    windowChanged();
}

// Again whenever the window, the values or the chart's size change.
void ScrollingChart::updateTicks()
{
    const ValueTicks values = valueTicks(m_yLow, m_yHigh, valueTickRoom());
    m_axisY->setTickAnchor(values.low);
    m_axisY->setTickInterval(values.step);
    m_axisY->setRange(values.low, values.high);
    setTimeTicks(chooseTimeTicks());
}

// How many value labels the chart's height has room for.
int ScrollingChart::valueTickRoom() const
{
    const double height = m_chart->size().height() - m_chart->margins().bottom();
    return std::clamp(int(height / (valueLabelHeight() + 2 * labelPadding)), 2, mostValueTicks);
}

double ScrollingChart::valueLabelHeight() const
{
    return QFontMetricsF(m_axisY->labelsFont()).height() + labelTextMargin;
}

// The closest round times whose labels have room. While only the window
// moves (a scroll), the step that fitted last is tried first: formatting the
// labels of every finer step again would take most of a scroll step's time.
QList<TimeTick> ScrollingChart::chooseTimeTicks() const
{
    const QString format = dateAxisFormat(m_duration);
    const QList<int> steps = timeSteps(m_duration);
    const std::pair<double, double> room{m_duration, m_chart->size().width()};
    auto step = steps.begin();
    if (m_fittedStep && m_fittedStep->first == room)
        step = std::find(steps.begin(), steps.end(), m_fittedStep->second);
    QList<TimeTick> ticks;
    for (step = step == steps.end() ? steps.begin() : step; step != steps.end(); ++step) {
        ticks = labelsInside(ticksEvery(*step, windowStart(), windowEnd(), format));
        if (labelsFit(ticks)) {
            m_fittedStep.emplace(room, *step);
            break;
        }
    }
    return ticks;
}

// The ticks whose labels lie wholly over the plot.
QList<TimeTick> ScrollingChart::labelsInside(QList<TimeTick> ticks) const
{
    const QRectF plot = m_chart->plotArea();
    const double from = windowStart();
    const double perMs = plot.width() / (windowEnd() - from);
    const QFontMetricsF metrics(m_axisX->labelsFont());
    ticks.removeIf([&](const TimeTick &tick) {
        const double x = plot.left() + (tick.at - from) * perMs;
        const double half = metrics.horizontalAdvance(tick.label) / 2.0 + labelPadding;
        return x - half < plot.left() || x + half > plot.right();
    });
    return ticks;
}

bool ScrollingChart::labelsFit(const QList<TimeTick> &ticks) const
{
    const QFontMetricsF metrics(m_axisX->labelsFont());
    double widest = 0.0;
    for (const TimeTick &tick : ticks)
        widest = std::max(widest, metrics.horizontalAdvance(tick.label) + labelTextMargin);
    const QMargins margins = m_chart->margins();
    const double axisWidth = m_chart->size().width() - margins.left() - margins.right();
    const double share = axisWidth / double(ticks.size() + 1) - 2 * labelPadding;
    const double plotWidth = m_chart->plotArea().width();
    const double apart = ticks.size() < 2
                             ? plotWidth
                             : plotWidth * (ticks[1].at - ticks[0].at) / (m_duration * 1000.0);
    return widest <= share && widest + labelGap <= apart;
}

void ScrollingChart::setTimeTicks(const QList<TimeTick> &ticks)
{
    if (ticks == m_timeTicks)
        return;
    m_timeTicks = ticks;
    {
        // The chart lays the axis out once, not once per category.
        const QSignalBlocker quiet(m_axisX);
        // From the last, so that no category's start is moved on the way.
        const QStringList labels = m_axisX->categoriesLabels();
        for (auto label = labels.crbegin(); label != labels.crend(); ++label)
            m_axisX->remove(*label);
        // Each label sits at its category's end: the tick.
        m_axisX->setStartValue(ticks.isEmpty() ? 0.0 : ticks.constFirst().at - 1.0);
        for (const TimeTick &tick : ticks)
            m_axisX->append(tick.label, tick.at);
    }
    emit m_axisX->categoriesChanged();
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
