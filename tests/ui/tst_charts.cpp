#include "chartvalues.h"
#include "dates.h"
#include "ratechart.h"
#include "usedspacechart.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QScrollBar>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>

namespace {

constexpr double day = 86400.0;
constexpr double start = 800000000.0; // seconds since 2001

RateStats point(double date, qint64 sizeTotal, qint64 rateTotal)
{
    RateStats p;
    p.date = date;
    p.sizeTotal = sizeTotal;
    p.rateTotal = rateTotal;
    return p;
}

// `count` points a day apart, used space rising by one GB a day from `firstGB`.
QList<RateStats> dailySeries(int count, qint64 firstGB = 400)
{
    QList<RateStats> series;
    for (int i = 0; i < count; ++i)
        series.append(point(start + i * day, (firstGB + i) * 1000000000, 1000 * i));
    return series;
}

double axisSpanSeconds(const ScrollingChart &chart)
{
    return chart.axisX()->min().secsTo(chart.axisX()->max());
}

} // namespace

class TestCharts : public QObject
{
    Q_OBJECT
private slots:
    void usedSpaceValue_data();
    void usedSpaceValue();
    void rateValue_data();
    void rateValue();
    void visibleSpan_data();
    void visibleSpan();
    void outOfOrderPointsKeepTheirNeighbours();
    void chartsFollowTheSeries();
    void ruleAtOverallRate();
    void noRuleWithoutPoints();
    void usedSpaceRangeLeavesOutZero();
    void windowScrollsThroughLongHistories();
    void dragAndWheelScroll();
};

void TestCharts::usedSpaceValue_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("gb");
    QTest::newRow("just under 1 GB") << qint64(999999999) << qint64(0);
    QTest::newRow("1 GB") << qint64(1000000000) << qint64(1);
    QTest::newRow("truncates") << qint64(1999999999) << qint64(1);
    QTest::newRow("123 GB") << qint64(123456789012) << qint64(123);
    QTest::newRow("negative truncates toward zero") << qint64(-1500000000) << qint64(-1);
}

void TestCharts::usedSpaceValue()
{
    QFETCH(qint64, bytes);
    QFETCH(qint64, gb);
    QCOMPARE(usedSpaceGB(bytes), gb);
    UsedSpaceChart chart;
    chart.setSeries({point(start, bytes, 0)});
    QCOMPARE(chart.pointSeries()->at(0).y(), double(gb));
}

void TestCharts::rateValue_data()
{
    QTest::addColumn<qint64>("bytesPerSecond");
    QTest::addColumn<double>("gbPerWeek");
    QTest::newRow("1000 B/s") << qint64(1000) << 0.6048;
    QTest::newRow("negative") << qint64(-500) << -0.3024;
    QTest::newRow("zero") << qint64(0) << 0.0;
}

void TestCharts::rateValue()
{
    QFETCH(qint64, bytesPerSecond);
    QFETCH(double, gbPerWeek);
    QVERIFY(qFuzzyCompare(1.0 + rateGBPerWeek(bytesPerSecond), 1.0 + gbPerWeek));
    RateChart chart;
    chart.setSeries({point(start, 0, bytesPerSecond)}, 0.0);
    QVERIFY(qFuzzyCompare(1.0 + chart.pointSeries()->at(0).y(), 1.0 + gbPerWeek));
}

void TestCharts::visibleSpan_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<qsizetype>("first");
    QTest::addColumn<qsizetype>("last");
    // Points at x = 0, 10, ..., 90.
    QTest::newRow("middle, one neighbour each side")
        << 25.0 << 45.0 << qsizetype(2) << qsizetype(6);
    QTest::newRow("edges on points") << 30.0 << 40.0 << qsizetype(2) << qsizetype(6);
    QTest::newRow("before all") << -50.0 << -10.0 << qsizetype(0) << qsizetype(1);
    QTest::newRow("after all") << 100.0 << 200.0 << qsizetype(9) << qsizetype(10);
    QTest::newRow("everything") << -1.0 << 100.0 << qsizetype(0) << qsizetype(10);
}

void TestCharts::visibleSpan()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(qsizetype, first);
    QFETCH(qsizetype, last);
    QList<QPointF> points;
    for (int i = 0; i < 10; ++i)
        points.append({i * 10.0, 0.0});
    const auto span = ::visibleSpan(points, from, to);
    QCOMPARE(span.first, first);
    QCOMPARE(span.second, last);
}

void TestCharts::outOfOrderPointsKeepTheirNeighbours()
{
    const QList<QPointF> points = {{50, 0}, {10, 1}, {90, 2}, {20, 3}, {70, 4}};
    const QList<QPointF> shown = visiblePoints(points, false, 15, 25);
    // 20 is inside; 90 and 70 are its neighbours in series order.
    QCOMPARE(shown, QList<QPointF>({{90, 2}, {20, 3}, {70, 4}}));
}

void TestCharts::chartsFollowTheSeries()
{
    UsedSpaceChart used;
    RateChart rate;
    const QList<RateStats> series = dailySeries(5);
    used.setSeries(series);
    rate.setSeries(series, 0.5);
    QCOMPARE(used.pointSeries()->count(), 5);
    QCOMPARE(used.lineSeries()->count(), 5);
    QCOMPARE(rate.pointSeries()->count(), 5);
    QCOMPARE(used.pointSeries()->at(4), QPointF(chartTime(start + 4 * day), 404.0));
    QCOMPARE(rate.lineSeries()->at(2).y(), 2000 * 0.0006048);
    QCOMPARE(QDateTime::fromMSecsSinceEpoch(qint64(used.pointSeries()->at(0).x())),
             dateTimeFromReference(start));

    used.setSeries(dailySeries(2, 10));
    QCOMPARE(used.pointSeries()->count(), 2);
    QCOMPARE(used.pointSeries()->at(1).y(), 11.0);
}

void TestCharts::ruleAtOverallRate()
{
    RateChart chart;
    chart.resize(600, 300);
    chart.show();
    chart.setSeries({point(start, 0, 0)}, 3.25);
    QVERIFY(chart.hasRule());
    QLineSeries *rule = chart.ruleSeries();
    QVERIFY(rule->isVisible());
    QCOMPARE(rule->count(), 2);
    QCOMPARE(rule->at(0).y(), 3.25);
    QCOMPARE(rule->at(1).y(), 3.25);
    // Across the whole window.
    QCOMPARE(rule->at(0).x(), chart.windowStart());
    QCOMPARE(rule->at(1).x(), chart.windowEnd());
    QVERIFY(chart.axisY()->max() >= 3.25);

    const QPen pen = rule->pen();
    QCOMPARE(pen.color(), QColor(Qt::gray));
    QCOMPARE(pen.widthF(), 1.0);
    QCOMPARE(pen.dashPattern(), QList<qreal>({6.0, 4.0}));
    QCOMPARE(pen.capStyle(), Qt::FlatCap);

    QGraphicsSimpleTextItem *caption = chart.ruleCaption();
    QVERIFY(caption->isVisible());
    QCOMPARE(caption->text(), QStringLiteral("Overall Rate"));
    // Above the rule, at its left end.
    const QPointF ruleLeft = chart.chart()->mapToPosition(rule->at(0), rule);
    QVERIFY(caption->pos().y() + caption->boundingRect().height() <= ruleLeft.y());
    QVERIFY(qAbs(caption->pos().x() - ruleLeft.x()) <= 10);
}

void TestCharts::noRuleWithoutPoints()
{
    RateChart chart;
    chart.setSeries(dailySeries(3), 1.0);
    QVERIFY(chart.ruleSeries()->isVisible());
    chart.setSeries({}, 1.0);
    QVERIFY(!chart.hasRule());
    QVERIFY(!chart.ruleSeries()->isVisible());
    QVERIFY(!chart.ruleCaption()->isVisible());
    QCOMPARE(chart.pointSeries()->count(), 0);
}

void TestCharts::usedSpaceRangeLeavesOutZero()
{
    UsedSpaceChart chart;
    chart.setSeries(dailySeries(11, 400)); // 400 to 410 GB
    QVERIFY(chart.axisY()->min() >= 390.0);
    QVERIFY(chart.axisY()->max() >= 410.0);
    QVERIFY(chart.axisY()->max() <= 420.0);
}

void TestCharts::windowScrollsThroughLongHistories()
{
    UsedSpaceChart chart;
    chart.setVisibleDuration(14 * day);
    chart.setSeries(dailySeries(60));
    QCOMPARE(axisSpanSeconds(chart), 14 * day);
    // The window's points and a neighbour on each side, not all sixty.
    QVERIFY(chart.pointSeries()->count() >= 14);
    QVERIFY(chart.pointSeries()->count() <= 17);
    // It opens on the latest readings.
    QCOMPARE(chart.pointSeries()->at(chart.pointSeries()->count() - 1).y(), 459.0);

    const QDateTime end = chart.axisX()->max();
    chart.scrollBar()->setValue(0);
    QVERIFY(chart.axisX()->max() < end);
    QCOMPARE(chart.pointSeries()->at(0).y(), 400.0);
    chart.scrollBy(10 * day);
    QCOMPARE(chart.pointSeries()->at(0).y(), 409.0); // the neighbour left of the window
    QCOMPARE(chart.pointSeries()->at(1).y(), 410.0);

    chart.setVisibleDuration(28 * day);
    QCOMPARE(axisSpanSeconds(chart), 28 * day);
    QVERIFY(chart.pointSeries()->count() >= 28);
}

void TestCharts::dragAndWheelScroll()
{
    UsedSpaceChart chart;
    chart.resize(800, 300);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.setSeries(dailySeries(60));
    const int end = chart.scrollBar()->value();
    QCOMPARE(end, chart.scrollBar()->maximum());

    // Dragging to the right brings earlier days into view.
    QWidget *viewport = chart.chartView()->viewport();
    const double plotWidth = chart.chart()->plotArea().width();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(100, 150));
    QTest::mouseMove(viewport, QPoint(100 + int(plotWidth / 2), 150));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(100 + int(plotWidth / 2), 150));
    QVERIFY(qAbs(chart.scrollBar()->value() - (end - 7 * 86400)) < 86400 / 4);

    // A wheel notch down moves forward in time by a tenth of the window.
    const int before = chart.scrollBar()->value();
    QWheelEvent wheel(QPointF(200, 150), viewport->mapToGlobal(QPointF(200, 150)), {},
                      QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &wheel);
    QCOMPARE(chart.scrollBar()->value(), before + 120960); // 14 days / 10
}

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
