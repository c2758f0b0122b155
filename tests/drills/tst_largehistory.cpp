#include "DiskInfo.h"
#include "stubs.h"

#include <QElapsedTimer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray containerXml(const QByteArray &uuid, qint64 free, qint64 used)
{
    return "<dict><key>APFSContainerUUID</key><string>" + uuid +
           "</string><key>CapacityCeiling</key><integer>1000000</integer>"
           "<key>CapacityFree</key><integer>" +
           QByteArray::number(free) +
           "</integer><key>ContainerReference</key><string>d</string>"
           "<key>Volumes</key><array><dict><key>APFSVolumeUUID</key><string>V</string>"
           "<key>Name</key><string>v</string><key>Roles</key><array/>"
           "<key>CapacityInUse</key><integer>" +
           QByteArray::number(used) + "</integer></dict></array></dict>";
}

QByteArray listing(const QByteArray &containers)
{
    return "<plist version=\"1.0\"><dict><key>Containers</key><array>" + containers +
           "</array></dict></plist>";
}

QByteArray containerName(int i)
{
    return "C-" + QByteArray::number(i);
}

} // namespace

class TestLargeHistory : public QObject
{
    Q_OBJECT

    FixedClock *m_clock = nullptr;
    CannedListing *m_listing = nullptr;
    std::unique_ptr<DiskInfo> m_store;

private slots:
    void init()
    {
        auto clock = std::make_unique<FixedClock>(700000000.0);
        auto listing = std::make_unique<CannedListing>();
        m_clock = clock.get();
        m_listing = listing.get();
        m_store = std::make_unique<DiskInfo>(std::move(clock), std::move(listing));
    }

    // A million containers take about a minute in a debug build, so the suite
    // runs a fifth of them; QUILLBANK_DRILL_CONTAINERS=1000000 runs them all.
    void hugeReading()
    {
        const int count = qEnvironmentVariableIsSet("QUILLBANK_DRILL_CONTAINERS")
                              ? qEnvironmentVariableIntValue("QUILLBANK_DRILL_CONTAINERS")
                              : 200000;
        QVERIFY(count >= 2);
        QByteArray containers;
        containers.reserve(qsizetype(count) * 330);
        for (int i = 0; i < count; ++i)
            containers += containerXml(containerName(i), i, count - i);
        m_listing->set(listing(containers));
        containers = {};

        QElapsedTimer timer;
        timer.start();
        m_store->checkContainers();
        qInfo("one reading of %d containers taken in %lld ms", count, timer.elapsed());
        QCOMPARE(m_store->globalConData().size(), 1);
        QCOMPARE(m_store->globalConData().first().containers.size(), count);
        QCOMPARE(m_store->containerData().size(), count);
        QCOMPARE(m_store->containerList().size(), count);
        const ContainerInfo &last = m_store->containerList().last();
        QCOMPARE(last.conUUID, QString::fromLatin1(containerName(count - 1)));
        QCOMPARE(last.free, count - 1);
        QCOMPARE(last.totalUsed, 1);

        const int middle = count / 2;
        m_store->selectContainer(QString::fromLatin1(containerName(middle)));
        QCOMPARE(m_store->ratesPoints().size(), 1);
        QCOMPARE(m_store->maxSizeTotal(), count - middle);
        QCOMPARE(m_store->minFree(), double(middle));
    }

    // Readings taken within the clock's resolution share a date: no rate can
    // be worked out between them, whatever the sizes did.
    void tenThousandReadingsWithOneDate()
    {
        constexpr int readings = 10000;
        for (int i = 0; i < readings; ++i) {
            m_listing->set(listing(containerXml("C-1", 1000000 - i * 7, (i * 37) % 1000)));
            m_store->checkContainers();
        }
        QCOMPARE(m_store->globalConData().size(), readings);

        m_store->selectContainer(u"C-1"_s);
        const QList<RateStats> &series = m_store->ratesPoints();
        QCOMPARE(series.size(), readings);
        for (const RateStats &point : series) {
            QCOMPARE(point.date, 700000000.0);
            QCOMPARE(point.rate, 0);
            QCOMPARE(point.rateTotal, 0);
        }
        QCOMPARE(series.last().size, 7 * (readings - 1));
        QCOMPARE(m_store->overallRate(), 0.0);
        QCOMPARE(m_store->timeToRun(), 0);
        QCOMPARE(m_store->maxSizeTotal(), 999);
    }
};

QTEST_GUILESS_MAIN(TestLargeHistory)
#include "tst_largehistory.moc"
