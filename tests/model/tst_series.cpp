#include "containerexport.h"
#include "standins.h"
#include "statuslines.h"

#include <QTest>

#include <limits>

namespace {

struct Reading {
    QString conUUID;
    double date;
    qint64 capacity;
    qint64 free;
    qint64 totalUsed;
};

using Readings = QList<Reading>;
using Numbers = QList<qint64>;
constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();
constexpr qint64 GB = 1000000000;

Reading a(double date, qint64 free, qint64 totalUsed, qint64 capacity = 500 * GB)
{
    return {QStringLiteral("A"), date, capacity, free, totalUsed};
}

Reading other(double date)
{
    return {QStringLiteral("B"), date, 7 * GB, 1, 5 * GB};
}

QList<DataContainerInfo> entries(const Readings &readings)
{
    QList<DataContainerInfo> result;
    for (const Reading &r : readings) {
        const ContainerInfo info{{}, r.conUUID, {}, r.capacity, r.free, {}, {}, r.totalUsed};
        result.append(DataContainerInfo::fromContainer(info, r.date, {}));
    }
    return result;
}

} // namespace

class TestSeries : public QObject
{
    Q_OBJECT

private slots:
    void series_data()
    {
        QTest::addColumn<Readings>("readings");
        QTest::addColumn<Numbers>("rates");
        QTest::addColumn<Numbers>("rateTotals");
        QTest::addColumn<qint64>("maxSizeTotal");
        QTest::addColumn<double>("minFree");
        QTest::addColumn<double>("overallRate");
        QTest::addColumn<qint64>("timeToRun");

        // 1653.439... rounds to 1653; the rate is 0.9999999999999999, not 1.
        QTest::newRow("one week, 1 GB")
            << Readings{a(0, 251 * GB, 100 * GB), a(604800, 250 * GB, 101 * GB)} << Numbers{0, 1653}
            << Numbers{0, 1653} << 101 * GB << 250e9 << 0.9999999999999999 << qint64(250);
        QTest::newRow("halves round away from zero")
            << Readings{a(10, 100, 100), a(12, 97, 103), a(14, 100, 100)} << Numbers{0, 2, -2}
            << Numbers{0, 2, -2} << qint64(103) << 97.0 << 0.0 << qint64(0);
        QTest::newRow("single reading") << Readings{a(5, 40, 70)} << Numbers{0} << Numbers{0}
                                        << qint64(70) << 40.0 << 0.0 << qint64(0);
        QTest::newRow("same instant") << Readings{a(5, 40, 70), a(5, 30, 90)} << Numbers{0, 0}
                                      << Numbers{0, 0} << qint64(90) << 30.0 << 0.0 << qint64(0);
        QTest::newRow("earlier date later in history")
            << Readings{a(100, 40, 70), a(50, 30, 90)} << Numbers{0, 0} << Numbers{0, 0}
            << qint64(90) << 30.0 << 0.0 << qint64(0);
        QTest::newRow("shrinking")
            << Readings{a(0, 10 * GB, 20 * GB), a(1000, 11 * GB, 19 * GB)} << Numbers{0, -1000000}
            << Numbers{0, -1000000} << 20 * GB << 10e9 << -1e9 / 1000 * 0.0006048 << qint64(0);
        QTest::newRow("other containers between")
            << Readings{other(0), a(0, 100, 100), other(1), other(2), a(4, 92, 108), other(9)}
            << Numbers{0, 2} << Numbers{0, 2} << qint64(108) << 92.0 << 8.0 / 4 * 0.0006048
            << qint64(0);
        QTest::newRow("equal maxima keep the earlier free")
            << Readings{a(0, 300, 500), a(10, 200, 500), a(20, 100, 400)} << Numbers{0, 10, 10}
            << Numbers{0, 0, -10} << qint64(500) << 300.0 << -100.0 / 20 * 0.0006048 << qint64(0);
        // 3.99 weeks of the last reading's free space at 1 GB/week: whole weeks.
        QTest::newRow("forecast truncates, from the last free")
            << Readings{a(0, 40 * GB, 0), a(604800000, 3990000000, 1000 * GB)} << Numbers{0, 60}
            << Numbers{0, 1653} << 1000 * GB << 3.99e9 << 1e12 / 604800000 * 0.0006048 << qint64(3);
        QTest::newRow("never positive")
            << Readings{a(0, 5, 0), a(10, 5, -20)} << Numbers{0, 0} << Numbers{0, -2} << qint64(0)
            << 0.0 << -2 * 0.0006048 << qint64(0);
        // Out-of-range values from an edited file: defined results, no crash.
        QTest::newRow("size beyond int64")
            << Readings{a(0, -1, 10, int64Max), a(1, 0, 20, int64Max)} << Numbers{0, 0}
            << Numbers{0, 10} << qint64(20) << 0.0 << 10 * 0.0006048 << qint64(0);
        QTest::newRow("rate beyond int64")
            << Readings{a(0, 0, int64Min), a(1e-9, 0, int64Max)} << Numbers{0, 0} << Numbers{0, 0}
            << int64Max << 0.0 << (2.0 * 9223372036854775808.0) / 1e-9 * 0.0006048 << qint64(0);
        QTest::newRow("forecast beyond int64")
            << Readings{a(0, int64Max, 0), a(1e300, int64Max, 1)} << Numbers{0, 0} << Numbers{0, 0}
            << qint64(1) << 9223372036854775807.0 << 1 / 1e300 * 0.0006048 << qint64(0);
    }
    void series()
    {
        QFETCH(Readings, readings);
        QFETCH(Numbers, rates);
        StandInStore s;
        s.store.setContainerData(entries(readings));
        Announcements views(s.store);
        s.store.selectContainer(QStringLiteral("A"));
        Numbers gotRates, gotRateTotals;
        for (const RateStats &p : s.store.ratesPoints()) {
            gotRates.append(p.rate);
            gotRateTotals.append(p.rateTotal);
        }
        QCOMPARE(gotRates, rates);
        QTEST(gotRateTotals, "rateTotals");
        QTEST(s.store.maxSizeTotal(), "maxSizeTotal");
        QTEST(s.store.minFree(), "minFree");
        QTEST(s.store.overallRate(), "overallRate");
        QTEST(s.store.timeToRun(), "timeToRun");
        // Every value the views show changed from the empty store's is announced.
        using P = DiskInfo::Property;
        const unsigned changed =
            Announcements::bit(P::RatesPoints) | Announcements::bit(P::RecentTrend) |
            Announcements::bit(P::MaxSizeTotal) * (s.store.maxSizeTotal() != 0) |
            Announcements::bit(P::MinFree) * (s.store.minFree() != 0) |
            Announcements::bit(P::OverallRate) * (s.store.overallRate() != 0) |
            Announcements::bit(P::TimeToRun) * (s.store.timeToRun() != 0);
        QVERIFY(views.properties() != ~0u);
        QCOMPARE(views.properties() & changed, changed);

        // The CSV export's rows follow the same rule for size, date and rate.
        const auto rows = ContainerExport::fromEntries(entries(readings), QStringLiteral("A"));
        QVERIFY(rows);
        QCOMPARE(rows->rows().size(), rates.size());
        for (qsizetype i = 0; i < rates.size(); ++i)
            QCOMPARE(rows->rows().at(i).rate, rates.at(i));
    }

    // A container without a forecast never shows the previous one's.
    void nothingToWalk_data()
    {
        QTest::addColumn<QString>("conUUID");
        QTest::addColumn<bool>("withData");
        QTest::newRow("empty conUUID") << QString() << true;
        QTest::newRow("no readings") << QStringLiteral("A") << false;
        QTest::newRow("no match") << QStringLiteral("C") << true;
        QTest::newRow("one reading") << QStringLiteral("B") << true;
    }
    void nothingToWalk()
    {
        QFETCH(QString, conUUID);
        QFETCH(bool, withData);
        StandInStore s;
        s.store.setContainerData(
            entries({a(0, 251 * GB, 100 * GB), a(604800, 250 * GB, 101 * GB), other(5)}));
        s.store.selectContainer(QStringLiteral("A"));
        QCOMPARE(s.store.timeToRun(), 250);
        if (!withData)
            s.store.setContainerData({});
        s.store.selectContainer(conUUID);
        QCOMPARE(s.store.overallRate(), 0.0);
        QCOMPARE(s.store.timeToRun(), 0);
        QCOMPARE(s.store.minFree(), conUUID == u"B" ? 1.0 : 0.0);
        QCOMPARE(s.store.recentTrend().readings, qsizetype(conUUID == u"B"));
    }

    // A shrinking container never fills; "0 weeks" would read as full now.
    void forecastLineSaysNotGrowing()
    {
        StandInStore s;
        s.store.setContainerData(
            entries({a(0, 10 * GB, 20 * GB), a(1000, 11 * GB, 19 * GB), other(5), other(5)}));
        for (const auto &[conUUID, end] :
             {std::pair{u"A"_qs, u": not growing"_qs}, std::pair{u"B"_qs, u": 0 weeks"_qs}}) {
            s.store.selectContainer(conUUID);
            QVERIFY(forecastLine(s.store.timeToRun(), s.store.ratesPoints(), s.store.overallRate())
                        .endsWith(end));
        }
    }

    void exportTakesItsTrailerFromTheFirstReading()
    {
        // Two readings of one instant have no rate, which is no inexact one.
        QList<DataContainerInfo> list = entries({other(0), a(1, 4, 5, 10), a(1, 4, 5, 20)});
        list[1].volNames = QStringLiteral("First");
        list[2].volNames = QStringLiteral("Second");
        // Canonically equivalent UUIDs are one container.
        list[1].conUUID = QStringLiteral("\u00c5");
        list[2].conUUID = QStringLiteral("A\u030a");
        const auto rows = ContainerExport::fromEntries(list, QStringLiteral("\u00c5"));
        QVERIFY(rows && rows->isExact());
        QCOMPARE(rows->volNames(), QStringLiteral("First"));
        QCOMPARE(rows->capacity(), 10);
        QCOMPARE(rows->rows().size(), 2);
        QVERIFY(!ContainerExport::fromEntries(list, QStringLiteral("C")));
        QVERIFY(!ContainerExport::fromEntries(entries({a(1e300, 1, 1)}), u"A"_qs)->isExact());
        QVERIFY(!ContainerExport::fromEntries(entries({a(0, 0, 5), a(1e-9, 500 * GB, 5)}), u"A"_qs)
                     ->isExact());
    }
};

QTEST_GUILESS_MAIN(TestSeries)
#include "tst_series.moc"
