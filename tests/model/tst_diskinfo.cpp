#include "DiskInfo.h"
#include "announcements.h"
#include "ids.h"
#include "stubs.h"

#include <QTest>

using P = DiskInfo::Property;

class TestDiskInfo : public QObject
{
    Q_OBJECT

private:
    static std::unique_ptr<DiskInfo> makeStore(double now = 42.0)
    {
        return std::make_unique<DiskInfo>(std::make_unique<FixedClock>(now),
                                          std::make_unique<CannedListing>());
    }
    static ContainerInfo container(const QString &conUUID)
    {
        return {newId(),
                conUUID,
                QStringLiteral("disk1"),
                100,
                40,
                QStringLiteral("A, B"),
                QStringLiteral("A"),
                50};
    }

private slots:
    void startsEmpty()
    {
        const auto store = makeStore(123.25);
        QVERIFY(store->globalConData().isEmpty());
        QVERIFY(store->containerData().isEmpty());
        QVERIFY(store->containerList().isEmpty());
        QVERIFY(store->ratesPoints().isEmpty());
        QCOMPARE(store->maxSizeTotal(), 0);
        QCOMPARE(store->overallRate(), 0.0);
        QCOMPARE(store->timeToRun(), 0);
        QCOMPARE(store->minFree(), 0.0);
        QCOMPARE(store->today(), 123.25);
    }

    void listSetterAnnouncesOnlyChanges_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("announcements");
        QTest::newRow("equal list") << QString() << 0;
        QTest::newRow("one field") << QStringLiteral("free") << 1;
        QTest::newRow("canonically equal name") << QStringLiteral("nfd") << 0;
        QTest::newRow("shorter") << QStringLiteral("drop") << 1;
        QTest::newRow("new id") << QStringLiteral("id") << 1;
    }
    void listSetterAnnouncesOnlyChanges()
    {
        QFETCH(QString, edit);
        QFETCH(int, announcements);
        const auto store = makeStore();
        QList<ContainerInfo> list{container(QStringLiteral("U1")), container(QStringLiteral("U2"))};
        list[1].firstVolName = QStringLiteral("\u00c9t\u00e9");
        store->setContainerList(list);
        Announcements spy(*store);
        if (edit == u"free")
            list[1].free += 1;
        else if (edit == u"nfd")
            list[1].firstVolName = QStringLiteral("E\u0301te\u0301");
        else if (edit == u"drop")
            list.removeLast();
        else if (edit == u"id")
            list[0].id = newId();
        store->setContainerList(list);
        QCOMPARE(spy.count(P::ContainerList), announcements);
        QCOMPARE(spy.changes().size(), announcements);
        QVERIFY(spy.balanced());
        // An equal value is still stored, byte for byte.
        QCOMPARE(store->containerList().at(list.size() - 1).firstVolName, list.last().firstVolName);
    }

    void numbersCompareNumerically_data()
    {
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("second");
        QTest::addColumn<int>("announcements");
        QTest::newRow("same") << 1.5 << 1.5 << 0;
        QTest::newRow("different") << 1.5 << 2.5 << 1;
        QTest::newRow("negative zero") << 0.0 << -0.0 << 0;
        QTest::newRow("NaN over NaN") << qQNaN() << qQNaN() << 1;
    }
    void numbersCompareNumerically()
    {
        QFETCH(double, first);
        QFETCH(double, second);
        QFETCH(int, announcements);
        const auto store = makeStore();
        store->setOverallRate(first);
        store->setMinFree(first);
        store->setToday(first);
        Announcements spy(*store);
        store->setOverallRate(second);
        store->setMinFree(second);
        store->setToday(second);
        QCOMPARE(spy.count(P::OverallRate), announcements);
        QCOMPARE(spy.count(P::MinFree), announcements);
        QCOMPARE(spy.count(P::Today), announcements);
    }

    void ratesPointsAlwaysAnnounce()
    {
        const auto store = makeStore();
        Announcements spy(*store);
        store->setRatesPoints({});
        store->setRatesPoints({});
        QCOMPARE(spy.count(P::RatesPoints), 2);
        QVERIFY(spy.balanced());
    }

    void eachAppendAnnouncesOnce()
    {
        const auto store = makeStore();
        Announcements spy(*store);
        const ContainerInfo info = container(QStringLiteral("U"));
        store->appendContainerList(info);
        store->appendContainerList(info); // the same record twice: still two changes
        store->appendContainerData(DataContainerInfo::fromContainer(info, 1, {}));
        store->appendGlobalConData(DataPoint{newId(), 1, {info}});
        store->appendRatesPoints(RateStats{});
        const QList<P> expected{P::ContainerList, P::ContainerList, P::ContainerData,
                                P::GlobalConData, P::RatesPoints};
        QCOMPARE(spy.changes(), expected);
        QVERIFY(spy.balanced());
        QCOMPARE(store->containerList().size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDiskInfo)
#include "tst_diskinfo.moc"
