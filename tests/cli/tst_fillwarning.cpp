#include "clock.h"
#include "ids.h"
#include "listingxml.h"
#include "localfiles.h"
#include "scripts.h"

#include <QDBusConnection>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Readings a day apart up to now: 1 GB a day more used (7 GB a week), `free` GB free.
QList<DataPoint> freeing(const QList<qint64> &freeGB)
{
    QList<DataPoint> readings;
    const double first = SystemClock().now() - 86400.0 * double(freeGB.size() - 1);
    for (qsizetype day = 0; day < freeGB.size(); ++day) {
        const qint64 used = (100 + day) * 1000000000;
        readings.append({newId(),
                         first + 86400.0 * double(day),
                         {{newId(), u"C"_s, u"disk3"_s, 1000000000000, freeGB[day] * 1000000000,
                           u"Data"_s, u"Data"_s, used}}});
    }
    return readings;
}

// The desktop's notification service, as record finds it on the session bus.
class Notifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList shown;
public slots:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &hints, int)
    {
        const bool critical = hints.value(u"urgency"_s).toInt() == 2;
        shown.append((critical ? u"critical: "_s : u""_s) + summary + u"; "_s + body);
        return 1;
    }
};

} // namespace

class TestFillWarning : public QObject
{
    Q_OBJECT
    QProcess m_bus;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    Notifications m_desktop;

private slots:
    void initTestCase()
    {
        m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        QVERIFY(m_bus.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(m_bus.readLine().trimmed());
        m_environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, address);
        QDBusConnection bus = QDBusConnection::connectToBus(address, u"desktop"_s);
        QVERIFY(bus.registerObject(u"/org/freedesktop/Notifications"_s, &m_desktop,
                                   QDBusConnection::ExportAllSlots) &&
                bus.registerService(u"org.freedesktop.Notifications"_s));
    }
    void cleanupTestCase() { m_bus.kill(), m_bus.waitForFinished(); }

    // The reading record takes brings the forecast within 12 or 4 weeks: one
    // notification per crossing, naming the container, weeks and fill date.
    void crossing_data()
    {
        QTest::addColumn<QList<qint64>>("freeGB");
        QTest::addColumn<QString>("shown"); // empty: nothing
        QTest::newRow("from no trend")
            << QList<qint64>{90, 85, 77}
            << u"Data (disk3) fills in 11.0 weeks; Recent trend (2 days, 3 readings): "
               u"7.0 GB/week (7.0 to 7.0); full around"_s;
        QTest::newRow("from 13 weeks to 11")
            << QList<qint64>{100, 95, 91, 77} << u"Data (disk3) fills in 11.0 weeks"_s;
        QTest::newRow("from 11 to 10") << QList<qint64>{100, 80, 77, 70} << QString();
        QTest::newRow("critical") << QList<qint64>{45, 40, 35, 21}
                                  << u"critical: Data (disk3) fills in 3.0 weeks"_s;
    }
    void crossing()
    {
        QFETCH(QList<qint64>, freeGB);
        QFETCH(QString, shown);
        QList<DataPoint> history = freeing(freeGB);
        const ContainerInfo now = history.takeLast().containers.constFirst();
        QTemporaryDir dir;
        const QString file = dir.filePath(u"h.json"_s);
        QVERIFY(LocalFiles().writeHistory(file, history, nullptr));
        const QString tool = writeListingTool(
            dir, u"tool"_s,
            listingXml({{"C", "disk3", now.capacity, now.free, {{"Data", now.totalUsed}}}}));
        QProcess record;
        record.setProcessEnvironment(m_environment);
        m_desktop.shown.clear();
        record.start(QStringLiteral(QUILLBANK_BIN_DIR "/quillbank-cli"),
                     {u"record"_s, file, u"--probe"_s, tool});
        QTRY_COMPARE_WITH_TIMEOUT(record.state(), QProcess::NotRunning, 60000);
        QCOMPARE(record.exitCode(), 0);
        QCOMPARE(m_desktop.shown.size(), shown.isEmpty() ? 0 : 1);
        if (!shown.isEmpty())
            QVERIFY2(m_desktop.shown.constFirst().startsWith(shown),
                     qPrintable(m_desktop.shown.constFirst()));
    }
};

QTEST_GUILESS_MAIN(TestFillWarning)
#include "tst_fillwarning.moc"
