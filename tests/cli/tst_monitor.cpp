#include "clirun.h"
#include "listingxml.h"
#include "scripts.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// monitor-history.json: four readings a day apart. C's used space grows by
// 88473600 bytes a day, 1024 bytes a second, and its last reading has ten
// days of that free (884736000 bytes): it fills at 259200 + 864000 =
// 1123200 s since 2001, 979430400 in Unix time, 10/7 = 1.43 weeks on.
// D never grows. The last reading is at 259200 + 978307200 = 978566400.
const QString fixedHistory = QStringLiteral(QUILLBANK_TEST_DATA "/monitor-history.json");

const QString labelsC =
    u"{container_uuid=\"C\",container=\"disk\\\"3\\\\\",first_volume=\"V\\nx\"}"_s;
const QString labelsD = u"{container_uuid=\"D\",container=\"disk4\",first_volume=\"W\"}"_s;

} // namespace

// The monitoring fronts: `check` as a Monitoring Plugin, `metrics` in the
// Prometheus text format, and the per-user default history.
class TestMonitor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return file.fileName();
    }

private slots:
    void check_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("line"); // the start of the status line
        const QString &h = fixedHistory;
        const QString age = u"--max-age=0"_s;
        QTest::newRow("1.43 weeks, below 4")
            << QStringList{h, age} << 2 << u"QUILLBANK CRITICAL - disk\"3\\ fills in 1.4 weeks |"_s;
        QTest::newRow("below 12, above 1")
            << QStringList{h, age, u"--crit-weeks=1"_s} << 1 << u"QUILLBANK WARNING - disk"_s;
        QTest::newRow("above both")
            << QStringList{h, age, u"--warn-weeks=1.4"_s, u"--crit-weeks=1"_s} << 0
            << u"QUILLBANK OK - 2 containers"_s;
        QTest::newRow("not growing") << QStringList{h, age, u"--container=D"_s} << 0
                                     << u"QUILLBANK OK - 1 container, none"_s;
        QTest::newRow("recorder stopped")
            << QStringList{h, u"--warn-weeks=1"_s, u"--crit-weeks=1"_s} << 1
            << u"QUILLBANK WARNING - last reading "_s;
        QTest::newRow("no trend yet") << QStringList{write(u"two.json"_s, fileContents(fixedHistory)
                                                                                  .split('\n')
                                                                                  .mid(0, 3)
                                                                                  .join('\n')
                                                                                  .chopped(1) +
                                                                              "]"),
                                                     age}
                                      << 0 << u"QUILLBANK OK"_s;
        QTest::newRow("no such container")
            << QStringList{h, u"--container=E"_s} << 3 << u"QUILLBANK UNKNOWN - "_s;
        QTest::newRow("missing history")
            << QStringList{m_dir.filePath(u"none"_s)} << 3 << u"QUILLBANK UNKNOWN - "_s;
        QTest::newRow("broken history")
            << QStringList{write(u"bad.json"_s, "[{")} << 3 << u"QUILLBANK UNKNOWN - "_s;
        QTest::newRow("no readings")
            << QStringList{write(u"empty.json"_s, "[]")} << 3 << u"QUILLBANK UNKNOWN - "_s;
        QTest::newRow("bad threshold")
            << QStringList{h, u"--warn-weeks=-1"_s} << 3 << u"QUILLBANK UNKNOWN - "_s;
        QTest::newRow("usage error") << QStringList{h, u"--bogus"_s} << 3 << QString();
    }
    void check()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, line);
        const CliRun run = runCliHere(QStringList{u"check"_s} + args);
        QTEST(run.status, "status");
        QVERIFY2(run.out.startsWith(line), qPrintable(run.out));
    }

    void metrics()
    {
        const QString &h = fixedHistory;
        const auto gauge = [](const QString &name, const QString &help) {
            return u"# HELP %1 %2\n# TYPE %1 gauge\n"_s.arg(name, help);
        };
        const QString expected =
            gauge(u"quillbank_container_capacity_bytes"_s,
                  u"Capacity of the container at the last reading."_s) +
            u"quillbank_container_capacity_bytes"_s + labelsC + u" 200000000000\n"_s +
            u"quillbank_container_capacity_bytes"_s + labelsD + u" 10\n"_s +
            gauge(u"quillbank_container_free_bytes"_s,
                  u"Free space of the container at the last reading."_s) +
            u"quillbank_container_free_bytes"_s + labelsC + u" 884736000\n"_s +
            u"quillbank_container_free_bytes"_s + labelsD + u" 5\n"_s +
            gauge(u"quillbank_container_used_bytes"_s,
                  u"Space in use by the container's volumes at the last reading."_s) +
            u"quillbank_container_used_bytes"_s + labelsC + u" 100265420800\n"_s +
            u"quillbank_container_used_bytes"_s + labelsD + u" 5\n"_s +
            gauge(u"quillbank_container_growth_bytes_per_second"_s,
                  u"Recent growth of the used space: the median slope of the last 30 days' "
                  "readings."_s) +
            u"quillbank_container_growth_bytes_per_second"_s + labelsC + u" 1024\n"_s +
            u"quillbank_container_growth_bytes_per_second"_s + labelsD + u" 0\n"_s +
            gauge(u"quillbank_container_fill_timestamp_seconds"_s,
                  u"When the container fills at its recent growth, in Unix time."_s) +
            u"quillbank_container_fill_timestamp_seconds"_s + labelsC + u" 979430400\n"_s +
            gauge(u"quillbank_last_reading_timestamp_seconds"_s,
                  u"When the history's last reading was taken, in Unix time."_s) +
            u"quillbank_last_reading_timestamp_seconds"_s + labelsC + u" 978566400\n"_s +
            u"quillbank_last_reading_timestamp_seconds"_s + labelsD + u" 978566400\n"_s;
        const CliRun run = runCliHere({u"metrics"_s, h});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, expected);
        const QString prom = m_dir.filePath(u"quillbank.prom"_s);
        QCOMPARE(runCliHere({u"metrics"_s, h, u"-o"_s, prom}).status, 0);
        QCOMPARE(fileContents(prom), expected.toUtf8());
        // What Prometheus's own checker says, where it is installed.
        QProcess promtool;
        promtool.start(u"promtool"_s, {u"check"_s, u"metrics"_s});
        if (!promtool.waitForStarted())
            QSKIP("promtool is not installed (Debian package prometheus)");
        promtool.write(expected.toUtf8());
        promtool.closeWriteChannel();
        QVERIFY(promtool.waitForFinished(60000));
        QVERIFY2(promtool.exitCode() == 0, promtool.readAllStandardError().constData());
    }

    // Without HISTORY, record makes the per-user history, which --help names.
    void defaultHistory()
    {
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_s).toUtf8());
        const QString tool =
            writeListingTool(m_dir, u"tool"_s, listingXml({{"C-1", "disk2", 100, 5, {}}}));
        const CliRun run = CliProcess().run({u"record"_s, u"--probe"_s, tool});
        QCOMPARE(run.status, 0);
        const QString expected = m_dir.filePath(u"data/Quillbank/history.json"_s);
        QVERIFY(fileContents(expected).startsWith("[{\"id\":"));
        QVERIFY(CliProcess().run({u"--help"_s}).out.contains(expected));
    }
};

QTEST_GUILESS_MAIN(TestMonitor)
#include "tst_monitor.moc"
