#include "DiskInfo.h"
#include "announcements.h"
#include "dates.h"
#include "stubs.h"

#include <QTest>

namespace {

struct Volume {
    QString name;
    qint64 inUse;
};

// A listing in the tool's XML form, with a few keys the reading ignores.
QByteArray listing(const QList<QPair<QString, QList<Volume>>> &containers)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<plist version=\"1.0\"><dict><key>Containers</key><array>");
    for (const auto &[uuid, volumes] : containers) {
        xml += QStringLiteral("<dict><key>APFSContainerUUID</key><string>%1</string>"
                              "<key>CapacityCeiling</key><integer>1000</integer>"
                              "<key>CapacityFree</key><integer>300</integer>"
                              "<key>ContainerReference</key><string>disk9</string>"
                              "<key>Fusion</key><false/><key>Volumes</key><array>")
                   .arg(uuid);
        for (const Volume &v : volumes)
            xml += QStringLiteral("<dict><key>APFSVolumeUUID</key><string>V</string>"
                                  "<key>Name</key><string>%1</string><key>Roles</key><array/>"
                                  "<key>CapacityInUse</key><integer>%2</integer></dict>")
                       .arg(v.name.toHtmlEscaped())
                       .arg(v.inUse);
        xml += QStringLiteral("</array></dict>");
    }
    xml += QStringLiteral("</array></dict></plist>");
    return xml.toUtf8();
}

} // namespace

using P = DiskInfo::Property;

class TestCheckContainers : public QObject
{
    Q_OBJECT

    FixedClock *m_clock = nullptr;
    CannedListing *m_listing = nullptr;
    std::unique_ptr<DiskInfo> m_store;

    void answer(std::optional<QByteArray> bytes, double now)
    {
        m_listing->set(std::move(bytes));
        m_clock->set(now);
    }

private slots:
    void init()
    {
        auto clock = std::make_unique<FixedClock>(1.0);
        auto listing = std::make_unique<CannedListing>();
        m_clock = clock.get();
        m_listing = listing.get();
        m_store = std::make_unique<DiskInfo>(std::move(clock), std::move(listing));
    }

    void recordsOneReading()
    {
        answer(listing({{QStringLiteral("C1"), {{QStringLiteral("A"), 10}}},
                        {QStringLiteral("C2"),
                         {{QStringLiteral("A"), 1},
                          {QStringLiteral("B, x"), 2},
                          {QStringLiteral("C"), 3}}}}),
               1000.5);
        m_store->checkContainers();
        QCOMPARE(m_listing->runs(), 1);
        QCOMPARE(m_store->today(), 1000.5);
        const QList<ContainerInfo> &list = m_store->containerList();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].copyText(), QStringLiteral("disk9,A,1000,300,10,C1"));
        QCOMPARE(list[1].volNames, QStringLiteral("A, B, x, C"));
        QCOMPARE(list[1].totalUsed, 6);
        QCOMPARE(list[0].volNames, QStringLiteral("A"));

        const QList<DataContainerInfo> &data = m_store->containerData();
        QCOMPARE(data.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QVERIFY(data[i].id != list[i].id);
            QCOMPARE(data[i].conUUID, list[i].conUUID);
            QCOMPARE(data[i].totalUsed, list[i].totalUsed);
            QCOMPARE(data[i].date, 1000.5);
            QCOMPARE(data[i].dateStr, formatDateStr(1000.5));
        }
        QCOMPARE(m_store->globalConData().size(), 1);
        const DataPoint &point = m_store->globalConData().first();
        QCOMPARE(point.date, 1000.5);
        QCOMPARE(point.containers, list);
    }

    void containerWithoutVolumes()
    {
        answer(listing({{QStringLiteral("C1"), {}}}), 2);
        m_store->checkContainers();
        QCOMPARE(m_store->containerList().size(), 1);
        const ContainerInfo &c = m_store->containerList().at(0);
        QCOMPARE(c.volNames, QString());
        QCOMPARE(c.firstVolName, QString());
        QCOMPARE(c.totalUsed, 0);
        QCOMPARE(c.capacity, 1000);
        QCOMPARE(c.free, 300);
    }

    void sameContainerTwiceIsKept()
    {
        answer(listing({{QStringLiteral("C1"), {}}, {QStringLiteral("C1"), {}}}), 2);
        m_store->checkContainers();
        QCOMPARE(m_store->containerList().size(), 2);
        QVERIFY(m_store->containerList()[0].id != m_store->containerList()[1].id);
    }

    void outcomes_data()
    {
        QTest::addColumn<std::optional<QByteArray>>("bytes");
        QTest::addColumn<double>("today");
        QTest::addColumn<int>("readings");
        QTest::newRow("tool failed") << std::optional<QByteArray>() << 10.0 << 1;
        QTest::newRow("empty output") << std::optional<QByteArray>(QByteArray()) << 20.0 << 1;
        QTest::newRow("not a listing")
            << std::optional<QByteArray>(QByteArrayLiteral("<plist><dict/></plist>")) << 20.0 << 1;
        QTest::newRow("sizes beyond int64")
            << std::optional<QByteArray>(listing(
                   {{QStringLiteral("C"),
                     {{QStringLiteral("A"), 9223372036854775807}, {QStringLiteral("B"), 1}}}}))
            << 20.0 << 1;
        QTest::newRow("no containers") << std::optional<QByteArray>(listing({})) << 20.0 << 2;
    }
    void outcomes()
    {
        QFETCH(std::optional<QByteArray>, bytes);
        answer(listing({{QStringLiteral("C1"), {{QStringLiteral("A"), 1}}}}), 10);
        m_store->checkContainers();
        answer(bytes, 20);
        m_store->checkContainers();
        QVERIFY(m_store->containerList().isEmpty());
        QTEST(m_store->today(), "today");
        QTEST(int(m_store->globalConData().size()), "readings");
        QCOMPARE(m_store->containerData().size(), 1);
        QVERIFY(m_store->globalConData().last().containers.isEmpty() ||
                m_store->globalConData().size() == 1);
    }

    void secondRunMakesNewIds()
    {
        answer(listing({{QStringLiteral("C1"), {}}}), 1);
        m_store->checkContainers();
        QCOMPARE(m_store->containerList().size(), 1);
        const QUuid first = m_store->containerList().at(0).id;
        m_store->checkContainers();
        QVERIFY(m_store->containerList().at(0).id != first);
        QCOMPARE(m_store->containerData().size(), 2);
        QCOMPARE(m_store->globalConData().size(), 2);
    }

    void announcesInOrder()
    {
        answer(listing({{QStringLiteral("C1"), {}}}), 1);
        m_store->checkContainers();
        answer(listing({{QStringLiteral("C1"), {}}, {QStringLiteral("C2"), {}}}), 2);
        Announcements spy(*m_store);
        m_store->checkContainers();
        const QList<P> expected{P::ContainerList, P::Today,         P::ContainerList,
                                P::ContainerData, P::ContainerList, P::ContainerData,
                                P::GlobalConData};
        QCOMPARE(spy.changes(), expected);
        QVERIFY(spy.balanced());
    }

    void leavesTheSelectionAlone()
    {
        m_store->setMaxSizeTotal(5);
        m_store->setRatesPoints({RateStats{}});
        answer(listing({{QStringLiteral("C1"), {{QStringLiteral("A"), 9}}}}), 1);
        m_store->checkContainers();
        QCOMPARE(m_store->maxSizeTotal(), 5);
        QCOMPARE(m_store->ratesPoints().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestCheckContainers)
#include "tst_checkcontainers.moc"
