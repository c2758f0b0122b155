#include "dates.h"
#include "recenttrend.h"
#include "trendline.h"

#include <QTest>

#include <cmath>

// Expected numbers come from trend_expected.py beside this file, which works
// them out on its own (exact integers, a full sort); the series here must
// match the ones there.

namespace {

using Readings = QList<TrendReading>;
// Readings in the window, its earliest date, the latest cleanup's date, 1 when
// the window begins there, slope, low and high slopes, weeks, fill date,
// earliest and latest fill dates; `none` where there is nothing.
using Expected = QList<double>;

constexpr double t0 = 800000000.0;
constexpr qint64 GB = 1000000000;
constexpr qint64 MB = 1000000;
const double none = qQNaN();

TrendReading r(double day, qint64 used, qint64 free = 100 * GB, qint64 capacity = 500 * GB)
{
    return {t0 + day * secondsPerDay, used, free, capacity};
}

Readings sampledSeries()
{
    Readings readings;
    for (int i = 0; i < 1500; ++i)
        readings.append(
            {t0 + i * 1000.0, 100 * GB + i * MB + (i * 37 % 101) * 10 * MB, 50 * GB, 500 * GB});
    return readings;
}

Readings cutAfterCleanup()
{
    const qint64 used[] = {100, 90, 95, 100, 105, 115, 116, 117, 118, 119, 120};
    Readings readings;
    for (int k = 0; k < 11; ++k)
        readings.append(r(5 * k, used[k] * GB));
    return readings;
}

// Readings `days` apart of the given used space in `unit`s.
Readings steps(double days, qint64 unit, const QList<qint64> &used, qint64 capacity = 500 * GB)
{
    Readings readings;
    for (qsizetype k = 0; k < used.size(); ++k)
        readings.append(r(double(k) * days, used[k] * unit, 100 * GB, capacity));
    return readings;
}

double orNone(std::optional<double> value)
{
    return value.value_or(none);
}

Expected actual(const RecentTrend &t)
{
    const TrendFit f = t.fit.value_or(TrendFit{});
    const auto fitted = [&](double v) { return t.fit ? v : none; };
    return {double(t.readings),  t.from,
            orNone(t.cleanup),   double(t.sinceCleanup),
            fitted(f.slope),     fitted(f.slopeLow),
            fitted(f.slopeHigh), orNone(f.weeks),
            orNone(f.full),      orNone(f.fullEarliest),
            orNone(f.fullLatest)};
}

bool close(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::fabs(a - b) <= 1e-9 * std::fabs(b);
}

double at(int year, int month, int day)
{
    return secondsSinceReference(QDateTime(QDate(year, month, day), QTime(12, 0), Qt::UTC));
}

} // namespace

class TestRecentTrend : public QObject
{
    Q_OBJECT
private slots:
    void trend_data()
    {
        QTest::addColumn<Readings>("readings");
        QTest::addColumn<Expected>("expected");
        // clang-format off
        QTest::newRow("steady growth") << Readings{r(0, 100000 * MB), r(1, 101500 * MB), r(2, 102000 * MB), r(3, 103200 * MB), r(4, 104000 * MB), r(5, 105100 * MB, 40 * GB)}
            << Expected{6.0, 800000000.0, none, 0.0, 11574.074074074075, 9645.061728395061, 12731.481481481482, 5.714285714285714, 803888000.0, 803573818.1818181, 804579200.0};
        QTest::newRow("cleanup restarts the window") << Readings{r(0, 200 * GB), r(1, 202 * GB), r(2, 204 * GB), r(3, 206 * GB), r(4, 190 * GB), r(5, 191 * GB), r(6, 193 * GB), r(7, 194 * GB)}
            << Expected{4.0, 800345600.0, 800345600.0, 1.0, 16396.604938271605, 11574.074074074075, 23148.14814814815, 10.08403361344538, 806703623.5294118, 804924800.0, 809244800.0};
        QTest::newRow("a drop of exactly 1% is a cleanup") << Readings{r(0, 300 * GB), r(1, 302 * GB), r(2, 297 * GB), r(3, 299 * GB), r(4, 300 * GB), r(5, 302 * GB)}
            << Expected{4.0, 800172800.0, 800172800.0, 1.0, 18325.617283950618, 11574.074074074075, 23148.14814814815, 9.022556390977442, 805888842.1052631, 804752000.0, 809072000.0};
        QTest::newRow("a drop under 1% is not") << Readings{r(0, 300 * GB), r(1, 302 * GB), r(2, 297100 * MB), r(3, 299 * GB), r(4, 300 * GB), r(5, 302 * GB)}
            << Expected{6.0, 800000000.0, none, 0.0, 4629.62962962963, -16782.40740740741, 21990.74074074074, 35.714285714285715, 822032000.0, 804979368.4210526, none};
        QTest::newRow("a drop under 1 GB is not") << Readings{r(0, 10 * GB, GB, 20 * GB), r(1, 11 * GB, GB, 20 * GB), r(2, 11 * GB - 999999999, GB, 20 * GB), r(3, 12 * GB, GB, 20 * GB)}
            << Expected{4.0, 800000000.0, none, 0.0, 6751.543209876543, -11574.0740625, 23148.148136574073, 0.24489795918367346, 800407314.2857143, 800302400.0000216, none};
        QTest::newRow("a drop of exactly 1 GB is") << Readings{r(0, 10 * GB, GB, 20 * GB), r(1, 11 * GB, GB, 20 * GB), r(2, 10 * GB, GB, 20 * GB), r(3, 12 * GB, GB, 20 * GB)}
            << Expected{2.0, 800172800.0, 800172800.0, 1.0, none, none, none, none, none, none, none};
        QTest::newRow("equal dates") << Readings{r(0, 50 * GB), r(1, 51 * GB), r(1, 53 * GB), r(2, 52 * GB), r(3, 54 * GB)}
            << Expected{5.0, 800000000.0, none, 0.0, 11574.074074074075, -11574.074074074075, 34722.22222222222, 14.285714285714286, 808899200.0, 803139200.0, none};
        QTest::newRow("sampled above 1,001 readings") << sampledSeries()
            << Expected{1500.0, 800000000.0, none, 0.0, 1000.0, 964.6017699115044, 1036.6300366300366, 82.67195767195767, 851499000.0, 849732215.5477031, 853333862.3853211};
        QTest::newRow("negative free space") << Readings{r(0, 100 * GB), r(1, 101 * GB), r(2, 103 * GB), r(3, 104 * GB, -5 * GB)}
            << Expected{4.0, 800000000.0, none, 0.0, 16396.604938271605, 11574.074074074075, 23148.14814814815, 0.0, 800259200.0, 800259200.0, 800259200.0};
        QTest::newRow("flat") << Readings{r(0, 70 * GB), r(1, 70 * GB), r(2, 70 * GB), r(3, 70 * GB)}
            << Expected{4.0, 800000000.0, none, 0.0, 0.0, 0.0, 0.0, none, none, none, none};
        QTest::newRow("shrinking") << Readings{r(0, 100000 * MB), r(1, 99000 * MB), r(2, 100500 * MB), r(3, 98000 * MB), r(4, 97500 * MB)}
            << Expected{5.0, 800000000.0, none, 0.0, -6510.416666666667, -28935.185185185186, 17361.11111111111, none, none, 806105600.0, none};
        QTest::newRow("cut at 30 days, after a cleanup") << cutAfterCleanup()
            << Expected{7.0, 801728000.0, 800432000.0, 0.0, 2314.814814814815, 2314.814814814815, 6481.481481481482, 71.42857142857143, 847520000.0, 819748571.4285715, 847520000.0};
        QTest::newRow("last reading dated before others") << Readings{r(0, 10 * GB), r(10, 20 * GB), r(60, 22 * GB), r(20, 21 * GB), r(35, 24 * GB)}
            << Expected{4.0, 800864000.0, none, 0.0, 810.1851851851852, -925.925925925926, 2314.814814814815, 204.08163265306123, 926452571.4285715, 846224000.0, none};
        QTest::newRow("two readings") << Readings{r(0, 10 * GB), r(2, 12 * GB)}
            << Expected{2.0, 800000000.0, none, 0.0, none, none, none, none, none, none, none};
        QTest::newRow("three readings within a day") << Readings{r(0, 10 * GB), r(0.5, 11 * GB), {t0 + 86399, 12 * GB, 100 * GB, 500 * GB}}
            << Expected{3.0, 800000000.0, none, 0.0, none, none, none, none, none, none, none};
        QTest::newRow("three readings over a day") << Readings{r(0, 10 * GB), r(0.5, 11 * GB), r(1, 13 * GB)}
            << Expected{3.0, 800000000.0, none, 0.0, 34722.22222222222, 23148.14814814815, 46296.2962962963, 4.761904761904763, 802966400.0, 802246400.0, 804406400.0};
        QTest::newRow("a cleanup leaves two") << Readings{r(0, 30 * GB), r(1, 31 * GB), r(2, 20 * GB), r(3, 21 * GB)}
            << Expected{2.0, 800172800.0, 800172800.0, 1.0, none, none, none, none, none, none, none};
        QTest::newRow("a cleanup over three days") << steps(1, GB, {400, 401, 402, 403, 398, 393, 389, 390, 391, 392, 393}, 1000 * GB)
            << Expected{5.0, 800518400.0, 800518400.0, 1.0, 11574.074074074075, 11574.074074074075, 11574.074074074075, 14.285714285714286, 809504000.0, 809504000.0, 809504000.0};
        QTest::newRow("noise around the threshold") << steps(0.5, MB, {100000, 103000, 99000, 104000, 99100, 105000, 100000, 104000, 106000, 107000, 108000})
            << Expected{5.0, 800259200.0, 800259200.0, 1.0, 40509.259259259255, 23148.14814814815, 92592.5925925926, 4.0816326530612255, 802900571.4285715, 801512000.0, 804752000.0};
        QTest::newRow("two cleanups") << steps(1, GB, {200, 202, 204, 195, 197, 199, 201, 203, 205, 190, 188, 190, 192, 194})
            << Expected{4.0, 800864000.0, 800864000.0, 1.0, 23148.14814814815, 23148.14814814815, 23148.14814814815, 7.142857142857143, 805443200.0, 805443200.0, 805443200.0};
        QTest::newRow("still falling") << steps(1, GB, {120, 118, 116, 114, 112, 110})
            << Expected{3.0, 800259200.0, 800259200.0, 1.0, -23148.14814814815, -23148.14814814815, -23148.14814814815, none, none, none, none};
        QTest::newRow("a cleanup among readings out of date order") << Readings{r(0, 210 * GB), r(6, 195 * GB), r(6, 200 * GB), r(1, 205 * GB)}
            << Expected{1.0, 800086400.0, 800086400.0, 1.0, none, none, none, none, none, none, none};
        QTest::newRow("out of date order, still falling") << Readings{r(0, 210 * GB), r(6, 195 * GB), r(6, 190 * GB), r(1, 185 * GB)}
            << Expected{3.0, 800086400.0, 800518400.0, 1.0, 17361.111111111113, 11574.074074074075, 23148.14814814815, 9.523809523809522, 805846400.0, 804406400.0, 808726400.0};
        QTest::newRow("a fall from a reading before the previous") << steps(0.5, GB, {100, 110, 109, 120, 118, 115, 116, 117, 118})
            << Expected{4.0, 800216000.0, 800216000.0, 1.0, 23148.14814814815, 23148.14814814815, 23148.14814814815, 7.142857142857143, 804665600.0, 804665600.0, 804665600.0};
        QTest::newRow("a cleanup 30 days before the last reading") << steps(5, GB, {100, 105, 110, 115, 100, 101, 102, 103, 104, 105, 106})
            << Expected{7.0, 801728000.0, 801728000.0, 1.0, 2314.814814814815, 2314.814814814815, 2314.814814814815, 71.42857142857143, 847520000.0, 847520000.0, 847520000.0};
        QTest::newRow("many readings out of date order") << Readings{r(0, 304 * GB), r(0.5, 305 * GB), r(3.5, 309 * GB), r(1.5, 305 * GB), r(2, 301 * GB), r(2.5, 304 * GB), r(3, 303 * GB), r(1, 305 * GB), r(4, 312 * GB), r(4.5, 311 * GB)}
            << Expected{10.0, 800000000.0, none, 0.0, 18004.11522633745, -3858.0246913580245, 27006.172839506173, 9.183673469387754, 805943085.7142857, 804091657.1428572, none};
        QTest::newRow("a higher reading dated later is not before") << Readings{r(4, 305 * GB), r(3, 294 * GB), r(4, 296 * GB), r(5, 299 * GB)}
            << Expected{1.0, 800432000.0, 800432000.0, 1.0, none, none, none, none, none, none, none};
        QTest::newRow("a slow fall, 1 GB in 10 days, is not") << steps(10, GB, {120, 119, 118, 117, 116, 115, 114})
            << Expected{4.0, 802592000.0, none, 0.0, -1157.4074074074074, -1157.4074074074074, -1157.4074074074074, none, none, none, none};
        // clang-format on
    }

    void trend()
    {
        QFETCH(Readings, readings);
        QFETCH(Expected, expected);
        const Expected got = actual(recentTrend(readings));
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY2(close(got[i], expected[i]),
                     qPrintable(u"value %1 is %2, expected %3"_qs.arg(
                         QString::number(i), QString::number(got[i], 'g', 17),
                         QString::number(expected[i], 'g', 17))));
    }

    void line_data()
    {
        QTest::addColumn<RecentTrend>("trend");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        RecentTrend cleaned{0, 12.4 * secondsPerDay, 40, at(2026, 11, 3), true, 0, 0, 0, {}};
        cleaned.fit = TrendFit{
            6944, 6448, 7606, 4.2, 3.9, 4.6, 19, at(2027, 3, 14), at(2027, 2, 2), at(2027, 4, 30)};
        QTest::newRow("growing, since a cleanup")
            << cleaned << QStringLiteral("en_GB")
            << QStringLiteral("Recent trend since the cleanup on 3 November 2026 (12 days, 40 "
                              "readings): 4.2 GB/week (3.9 to 4.6); full around 14 March 2027 "
                              "(between 2 February 2027 and 30 April 2027)");
        RecentTrend slow{0, 30 * secondsPerDay, 1234, {}, false, 0, 0, 0, {}};
        slow.fit =
            TrendFit{694, -83, 1488, 0.42, -0.05, 0.9, 19, at(2027, 3, 14), at(2027, 2, 2), {}};
        QTest::newRow("small rates, may never fill")
            << slow << QStringLiteral("en_US")
            << QStringLiteral("Recent trend (30 days, 1,234 readings): 0.42 GB/week (-0.05 to "
                              "0.90); full around March 14, 2027 (earliest February 2, 2027; may "
                              "never fill)");
        RecentTrend soon{0, 2 * secondsPerDay, 9, {}, false, 0, 0, 0, {}};
        const double day = at(2027, 1, 8);
        soon.fit = TrendFit{6944, 83, 13228, 4.2, 0.05, 8.0, 1, day, day - 3600, day + 3600};
        QTest::newRow("a fill range within a day, half a tenth")
            << soon << QStringLiteral("en_GB")
            << QStringLiteral("Recent trend (2 days, 9 readings): 4.2 GB/week (0.1 to 8.0); full "
                              "around 8 January 2027");
        RecentTrend flat{0, secondsPerDay, 3, {}, false, 0, 0, 0, {}};
        flat.fit = TrendFit{-7, -13, -1, -0.004, -0.008, -0.0004, {}, {}, {}, {}};
        QTest::newRow("not growing, no -0, at most three decimals")
            << flat << QStringLiteral("de_DE")
            << QStringLiteral("Recent trend (1 day, 3 readings): -0,004 GB/week (-0,008 to "
                              "0,000); not growing");
        flat.fit = TrendFit{};
        QTest::newRow("flat")
            << flat << QStringLiteral("en_GB")
            << u"Recent trend (1 day, 3 readings): 0.0 GB/week (0.0 to 0.0); not growing"_qs;
    }

    void line()
    {
        QFETCH(RecentTrend, trend);
        QFETCH(QString, locale);
        QTEST(trendLine(trend, QLocale(locale)), "expected");
    }

    // Run in UTC, whose offset reads +0000, never -0000.
    void utcDates() { QCOMPARE(formatDateStr(0.0), u"00:00:00+0000 2001-01-01"_qs); }
};

QTEST_GUILESS_MAIN(TestRecentTrend)
#include "tst_recenttrend.moc"
