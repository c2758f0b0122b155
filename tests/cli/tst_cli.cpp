#include "DiskInfo.h"
#include "clirun.h"
#include "clock.h"
#include "exitcodes.h"
#include "histories.h"
#include "historyencoder.h"
#include "ids.h"
#include "listingsurvey.h"
#include "listingxml.h"
#include "localfiles.h"
#include "scripts.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <sys/stat.h>

#include <bit>

using namespace Qt::StringLiterals;

namespace {

const QByteArray goodListing =
    listingXml({{"C-1", "disk2", 100, -5, {{"A, B", 7}}}, {"C-2", "disk4", 50, 5, {}}});

// Two readings of one container a week apart; its names change on the way.
const QByteArray weekHistory =
    R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","date":0,"containers":[)"
    R"({"id":"7F9619FF-8B86-D011-B42D-00C04FC964FF","conUUID":"C","conRef":"disk3",)"
    R"("capacity":400000000000,"free":250000000000,"volNames":"A, B","firstVolName":"A",)"
    R"("totalUsed":100000000000}]},)"
    R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964F0","date":604800,"containers":[)"
    R"({"id":"7F9619FF-8B86-D011-B42D-00C04FC964F0","conUUID":"C","conRef":"disk5",)"
    R"("capacity":400000000000,"free":250000000000,"volNames":"A, B, C",)"
    R"("firstVolName":"A","totalUsed":101000000000}]}])";

// monitor-history.json: four readings a day apart. C's used space grows by 88473600 bytes a day,
// 1024 bytes a second, and its last reading has ten days of that free (884736000 bytes): it fills
// at 259200 + 864000 = 1123200 s since 2001, 979430400 in Unix time, 10/7 = 1.43 weeks on. D never
// grows. The last reading is at 259200 + 978307200 = 978566400.
const QString fixedHistory = QStringLiteral(QUILLBANK_TEST_DATA "/monitor-history.json");

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QString file(const QByteArray &bytes = {})
    {
        const QString path = m_dir.filePath(QString::number(m_files++) + u".json"_s);
        QFile out(path);
        if (!bytes.isEmpty() && out.open(QIODevice::WriteOnly))
            out.write(bytes);
        return path;
    }
    QString tool(const QByteArray &output, int status = 0)
    {
        return writeListingTool(m_dir, u"tool"_s + QString::number(m_files++), output, status);
    }

private slots:
    void initTestCase()
    {
        close(STDIN_FILENO); // so files opened here get fd 0, which must count as any other
        QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) | QFile::ExeOther);
    }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("mentions"); // in the one error line
        const QString history = file(*encodeHistory(sampleHistory(2, 2)));
        const QString bad = file(R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF"}])");
        QTest::newRow("list") << QStringList{u"list"_s, u"--probe"_s, tool(goodListing)} << 0
                              << u"disk2,\"A, B\",100,-5,7,C-1\ndisk4,,50,5,0,C-2\n"_s << QString();
        QTest::newRow("tool fails") << QStringList{u"list"_s, u"--probe"_s, tool(goodListing, 1)}
                                    << 3 << QString() << u"status 1"_s;
        QTest::newRow("no such tool") << QStringList{u"list"_s, u"--probe"_s, u"/nonexistent"_s}
                                      << 3 << QString() << u"cannot start /nonexistent"_s;
        const QString hangs = writeScript(m_dir, u"hangs"_s, "sleep 30");
        QTest::newRow("tool hangs")
            << QStringList{u"list"_s, u"--probe"_s, hangs, u"--timeout=0.2"_s} << 3 << QString()
            << u"did not finish within 0.2 s"_s;
        for (const QString &command : {u"record"_s, u"list"_s})
            QTest::addRow("%s, bad timeout", qPrintable(command))
                << QStringList{command, u"--timeout=0"_s} << 2 << QString() << u"--timeout"_s;
        QTest::newRow("timeout above a day")
            << QStringList{u"list"_s, u"--timeout=86401"_s} << 2 << QString() << u"at most 86400"_s;
        for (const QStringList &args : {QStringList{u"record"_s, history, history},
                                        {u"report"_s, history, history},
                                        {u"metrics"_s, history, history},
                                        {u"csv"_s, history, u"UUID-c1"_s, history}})
            QTest::addRow("%s, an argument too many", qPrintable(args[0]))
                << args << 2 << QString() << u"wrong number of arguments"_s;
        QTest::newRow("undecodable")
            << QStringList{u"list"_s, u"--probe"_s, tool("<plist><dict/></plist>")} << 4
            << QString() << u"the listing does not decode: missing key \"Containers\""_s;
        QTest::newRow("unknown option")
            << QStringList{u"list"_s, u"-x"_s} << 2 << QString() << u"'x'"_s;
        QTest::newRow("stray argument")
            << QStringList{u"list"_s, u"x"_s} << 2 << QString() << u"list"_s;
        QTest::newRow("no command") << QStringList{} << 2 << QString() << u"no command"_s;
        QTest::newRow("unknown command")
            << QStringList{u"lsit"_s} << 2 << QString() << u"unknown command \"lsit\""_s;
        QTest::newRow("report, no such container")
            << QStringList{u"report"_s, history, u"--container"_s, u"nope"_s} << 6 << QString()
            << u"nope"_s;
        QTest::newRow("report, invalid history")
            << QStringList{u"report"_s, bad} << 5 << QString() << u"\"date\" is missing"_s;
        for (const QString &command : {u"report"_s, u"metrics"_s})
            QTest::addRow("%s, no file", qPrintable(command))
                << QStringList{command, file()} << 5 << QString()
                << u".json: not a valid history"_s;
        QTest::newRow("csv, no such container")
            << QStringList{u"csv"_s, history, u"UUID-c9"_s} << 6 << QString() << u"UUID-c9"_s;
        QTest::newRow("csv, one argument")
            << QStringList{u"csv"_s, history} << 2 << QString() << u"csv"_s;
        // Special files are refused at once, never read for ever or replaced.
        const QString fifo = m_dir.filePath(u"fifo"_s);
        mkfifo(qPrintable(fifo), 0600);
        QTest::newRow("report, a FIFO")
            << QStringList{u"report"_s, fifo} << 5 << QString() << u"a FIFO, not a regular file"_s;
        QTest::newRow("report, every read fails") << QStringList{u"report"_s, u"/proc/self/mem"_s}
                                                  << 5 << QString() << u"not a valid history"_s;
        QTest::newRow("report, /dev/zero") << QStringList{u"report"_s, u"/dev/zero"_s} << 5
                                           << QString() << u"a character device"_s;
        QFile sparse(file());
        QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(4) << 30));
        QTest::newRow("report, 4 GB of zeros") << QStringList{u"report"_s, sparse.fileName()} << 5
                                               << QString() << u"the top level is not an array"_s;
        QTest::newRow("csv onto a FIFO")
            << QStringList{u"csv"_s, history, u"UUID-c1"_s, u"-o"_s, fifo} << 7 << QString()
            << u"a FIFO, not a regular file"_s;
        const QString loop = m_dir.filePath(u"loop"_s);
        QFile::link(loop, loop);
        QTest::newRow("record onto a link loop")
            << QStringList{u"record"_s, loop, u"--probe"_s, tool(goodListing)} << 7 << QString()
            << u"Too many levels of symbolic links"_s;
    }
    void exitStatuses()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, mentions);
        const CliRun run = runCliHere(args);
        QTEST(run.status, "status");
        QTEST(run.out, "out");
        if (mentions.isEmpty()) {
            QCOMPARE(run.err, QString());
        } else {
            QVERIFY2(run.err.startsWith(u"quillbank-cli: "_s), qPrintable(run.err));
            QVERIFY2(run.err.section(u'\n', 0, 0).contains(mentions), qPrintable(run.err));
        }
    }

    // Two records whose tools run at once both keep their reading: the lock is held only while one
    // of them writes. The second makes the history, the first extends it.
    void overlappingRecordsKeepBothReadings()
    {
        const QString history = file();
        QProcess first;
        first.start(QStringLiteral(QUILLBANK_BIN_DIR "/quillbank-cli"),
                    {u"record"_s, history, u"--probe"_s,
                     writeScript(m_dir, u"slow"_s, "sleep 3; exec " + tool(goodListing).toUtf8())});
        QVERIFY(first.waitForStarted());
        const CliRun second =
            CliProcess().run({u"record"_s, history, u"--probe"_s, tool(goodListing)});
        QCOMPARE(second.status, 0);
        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitCode(), 0);
        const auto read = LocalFiles().readHistory(history, nullptr);
        QCOMPARE(read->size(), 2);
        QCOMPARE(read->at(0).containers.at(0).copyText(), u"disk2,\"A, B\",100,-5,7,C-1"_s);
        QVERIFY(!QFile::exists(history + u".lock"_s));
    }

    // A scheduled record runs while the window asks what to do with the file's readings, or between
    // the window's read and its save: it neither waits for the answer nor loses its reading.
    void recordWhileTheWindowWorks_data()
    {
        QTest::addColumn<bool>("duringQuestion");
        QTest::newRow("during the question") << true;
        QTest::newRow("between read and save") << false;
    }
    void recordWhileTheWindowWorks()
    {
        QFETCH(bool, duringQuestion);
        const QString history = file(*encodeHistory(sampleHistory(1, 1)));
        const QStringList record{u"record"_s, history, u"--probe"_s, tool(goodListing)};
        DiskInfo window(std::make_unique<SystemClock>(),
                        std::make_unique<ListingSurvey>(tool(goodListing)),
                        std::make_unique<LocalFiles>());
        int recorded = -1;
        window.setSaveQuestions({[&](qsizetype) {
                                     recorded = CliProcess().run(record).status;
                                     return HistorySaver::Choice::Replace;
                                 },
                                 {},
                                 {}});
        if (duringQuestion) {
            window.replaceHistory(sampleHistory(2, 1));
        } else {
            window.readJSONFrom(history);
            recorded = runCliHere(record).status;
            window.checkContainers();
        }
        window.saveJSONTo(history);
        QCOMPARE(recorded, 0);
        // Replace gives up the reading the person was told of, not the new one.
        QCOMPARE(LocalFiles().readHistory(history, nullptr)->size(), 3);
    }

    // A failed record leaves the file byte for byte as it was.
    void failedRecordLeavesTheFile_data()
    {
        QTest::addColumn<QByteArray>("before"); // empty: no file
        QTest::addColumn<QString>("probe");
        QTest::addColumn<int>("status");
        const QByteArray valid = *encodeHistory(sampleHistory(2, 2));
        QTest::newRow("tool fails") << valid << tool(goodListing, 1) << 3;
        QTest::newRow("undecodable") << valid << tool("<plist><dict/></plist>") << 4;
        QTest::newRow("no file, tool fails") << QByteArray() << tool(goodListing, 2) << 3;
        QTest::newRow("invalid history") << QByteArray("[{\"id\":1}]") << tool(goodListing) << 5;
    }
    void failedRecordLeavesTheFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, probe);
        const QString history = file(before);
        const CliRun run = CliProcess().run({u"record"_s, history, u"--probe"_s, probe});
        QTEST(run.status, "status");
        QCOMPARE(run.err.count(u'\n'), 1);
        QCOMPARE(QFile::exists(history), !before.isEmpty());
        if (!before.isEmpty())
            QCOMPARE(fileContents(history), before);
    }

    void reportPrintsTheWindowsNumbers()
    {
        const QString history = file(weekHistory);
        CliRun run = runCliHere({u"report"_s, history});
        QCOMPARE(run.out, u"disk5 (A, B, C), 2 readings\n"
                          "Total Used (GB), maximum 101.000000 GB, minimum free 250.000000 GB\n"
                          "Rate of Increase in Used Space (GB/week), overall 1.000000 GB/week\n"
                          "Forecast time for container to fill at current rate of increase in "
                          "used space: 250 weeks\n"
                          "Recent trend: needs 3 readings over at least a day\n"_s);
        run = runCliHere({u"report"_s, history, u"--json"_s, u"--series"_s, u"--container=C"_s});
        const QJsonObject c =
            QJsonDocument::fromJson(run.out.toUtf8())[u"containers"_s][0].toObject();
        QCOMPARE(c[u"readings"_s].toInt(), 2);
        QCOMPARE(c[u"timeToRun"_s].toInt(), 250);
        // 0.9999999999999999 in double arithmetic, printed so it reads back bit for bit.
        QCOMPARE(std::bit_cast<quint64>(c[u"overallRate"_s].toDouble()),
                 std::bit_cast<quint64>(1000000000.0 / 604800.0 * 0.0006048));
        QCOMPARE(c[u"series"_s][1][u"rateTotal"_s].toInt(), 1653);
        QVERIFY(c[u"trend"_s].isNull());
        // The latest reading's names, the largest use and the least free space.
        QCOMPARE(c[u"conRef"_s].toString() + u'|' + c[u"volNames"_s].toString() + u'|' +
                     c[u"firstVolName"_s].toString(),
                 u"disk5|A, B, C|A"_s);
        QCOMPARE(c[u"maxSizeTotal"_s].toInteger(), 101000000000);
        QCOMPARE(c[u"minFree"_s].toDouble(), 250e9);
        QVERIFY(runCliHere({u"report"_s, history, u"--series"_s})
                    .out.endsWith(u" rate 0 size 150000000000 rateTotal 1653 sizeTotal "
                                  "101000000000\n"_s));
        // Each container in turn, a blank line between.
        run = runCliHere({u"report"_s, file(*encodeHistory(sampleHistory(2, 2)))});
        QVERIFY2(run.out.startsWith(u"disk-c0 (c0, Data), 2 readings\n"_s) &&
                     run.out.contains(u"\n\ndisk-c1 (c1, Data), 2 readings\n"_s),
                 qPrintable(run.out));
    }

    // Four readings a day apart, 1 GB a day, 10 GB free at the last: every
    // slope is 1e9 / 86400 bytes per second, so the fill is 10 days on.
    void reportGivesTheTrend()
    {
        QList<DataPoint> points;
        for (int day = 0; day < 4; ++day) {
            const qint64 used = 100000000000 + day * 1000000000LL;
            points.append({newId(),
                           1000.0 + 86400.0 * day,
                           {{newId(), u"C"_s, u"d"_s, 200000000000,
                             10000000000 + (3 - day) * 1000000000LL, u"V"_s, u"V"_s, used}}});
        }
        const QString history = file(*encodeHistory(points));
        const CliRun run = runCliHere({u"report"_s, history, u"--json"_s});
        const QJsonObject t =
            QJsonDocument::fromJson(run.out.toUtf8())[u"containers"_s][0][u"trend"_s].toObject();
        const double rate = 1e9 / 86400.0 * 0.0006048;
        for (const char *key : {"rate", "rateLow", "rateHigh"})
            QVERIFY2(qAbs(t[QLatin1StringView(key)].toDouble() / rate - 1) < 1e-9, key);
        QCOMPARE(t[u"from"_s].toDouble(), 1000.0);
        QCOMPARE(t[u"readings"_s].toInt(), 4);
        QVERIFY(t[u"cleanup"_s].isNull());
        QVERIFY(qAbs(t[u"weeks"_s].toDouble() - 10.0 / 7) < 1e-9);
        for (const char *key : {"full", "fullEarliest", "fullLatest"})
            QVERIFY2(qAbs(t[QLatin1StringView(key)].toDouble() - (1000.0 + 13 * 86400)) < 1e-3,
                     key);
    }

    void csvWritesTheExport()
    {
        const QString history = file(weekHistory);
        const CliRun run = runCliHere({u"csv"_s, history, u"C"_s});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.startsWith(u"date,size,sizeTotal,rate\n"_s));
        QVERIFY(run.out.endsWith(
            u",150000000000,101000000000,0\n\n\n\"A, B\"\nCapacity: 400000000000"_s));
        const QString target = m_dir.filePath(u"export.csv"_s);
        QCOMPARE(runCliHere({u"csv"_s, history, u"C"_s, u"-o"_s, target}).status, 0);
        QCOMPARE(fileContents(target), run.out.toUtf8());
    }

    // check as a Monitoring Plugin: its own exit statuses and status line.
    void check_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("line"); // the output's start; AGE: any age in seconds
        const QString &h = fixedHistory;
        const QString age = u"--max-age=0"_s;
        QTest::newRow("1.43 weeks, below 4")
            << QStringList{h, age} << 2
            << u"QUILLBANK CRITICAL - disk\"3\\ fills in 1.4 weeks | "
               "'disk\"3\\ weeks'=1.42857;12:;4:;0; 'disk4 weeks'=U;12:;4:;0; "
               "'age'=AGEs;;;0;\n"
               "disk\"3\\ (V) CRITICAL: fills in 1.4 weeks\ndisk4 (W) OK: not growing\n"_s;
        QTest::newRow("below 12, above 1") << QStringList{h, age, u"--crit-weeks=1"_s} << 1
                                           << u"QUILLBANK WARNING - disk\"3\\ fills in 1.4 weeks | "
                                              "'disk\"3\\ weeks'=1.42857;12:;1:;"_s;
        QTest::newRow("above both")
            << QStringList{h, age, u"--warn-weeks=1.4"_s, u"--crit-weeks=1"_s} << 0
            << u"QUILLBANK OK - 2 containers"_s;
        QTest::newRow("not growing") << QStringList{h, age, u"--container=D"_s} << 0
                                     << u"QUILLBANK OK - 1 container, none"_s;
        QTest::newRow("recorder stopped")
            << QStringList{h, u"--warn-weeks=1"_s, u"--crit-weeks=1"_s} << 1
            << u"QUILLBANK WARNING - last reading "_s;
        QTest::newRow("no trend yet") << QStringList{file(*encodeHistory(sampleHistory(2, 1))), age}
                                      << 0 << u"QUILLBANK OK"_s;
        QTest::newRow("no such container")
            << QStringList{h, u"--container=E"_s} << 3 << u"QUILLBANK UNKNOWN - "_s;
        QTest::newRow("missing history")
            << QStringList{m_dir.filePath(u"none"_s)} << 3 << u"QUILLBANK UNKNOWN - "_s;
        QTest::newRow("no readings") << QStringList{file("[]")} << 3 << u"QUILLBANK UNKNOWN - "_s;
        QTest::newRow("bad threshold")
            << QStringList{h, u"--warn-weeks=-1"_s} << 3
            << u"QUILLBANK UNKNOWN - --warn-weeks wants a number from 0 on, not \"-1\""_s;
        QTest::newRow("usage error")
            << QStringList{h, u"--bogus"_s} << 3 << u"QUILLBANK UNKNOWN - Unknown option"_s;
        QTest::newRow("two histories") << QStringList{h, h} << 3 << u"QUILLBANK UNKNOWN - "_s;
        const double now = SystemClock().now();
        const auto at = [this](double date) {
            return QStringList{
                file(*encodeHistory({{newId(), date, {sampleContainer(u"c"_s, 9, 4, 5)}}}))};
        };
        QTest::newRow("47 hours old") << at(now - 47 * 3600) << 0 << u"QUILLBANK OK - 1 "_s;
        QTest::newRow("2 hours old, at most 1")
            << at(now - 2 * 3600) + QStringList{u"--max-age=1"_s} << 1
            << u"QUILLBANK WARNING - last reading 2 hours old: is the recorder running? | "
               "'disk-c weeks'=U;12:;4:;0; 'age'=AGEs;3600;;0;\n"_s;
        QTest::newRow("1000 hours old")
            << at(now - 1000 * 3600) << 1
            << u"QUILLBANK WARNING - last reading 1000 hours old: is the recorder running? | "
               "'disk-c weeks'=U;12:;4:;0; 'age'=3600AGEs;172800;;0;\n"
               "disk-c (c, Data) OK: no trend yet\n"_s;
        QTest::newRow("dated in the future")
            << at(now + 3600) << 3 << u"QUILLBANK UNKNOWN - last reading is in the future\n"_s;
        QTest::newRow("dated -1e308")
            << at(-1e308) << 1
            << u"QUILLBANK WARNING - last reading 9223372036854775807 hours old"_s;
    }
    void check()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, line);
        const CliRun run = runCliHere(QStringList{u"check"_s} + args);
        QTEST(run.status, "status");
        const QString pattern = QRegularExpression::escape(line).replace(u"AGE"_s, u"\\d+"_s);
        QVERIFY2(QRegularExpression(u'^' + pattern).match(run.out).hasMatch(), qPrintable(run.out));
    }

    // A monitoring engine reads one status line with perfdata after its '|',
    // Prometheus one series per container: names must break neither, and a
    // container listed twice counts once.
    void namesKeepTheirPlace()
    {
        ContainerInfo c = sampleContainer(u"c"_s, 1000, 400, 500);
        c.conRef = u"a|b\nc\u2028"_s;
        c.volNames = u"v\r\u2029|w"_s;
        const QString h = file(*encodeHistory({{newId(), SystemClock().now(), {c, c}}}));
        const QStringList lines = runCliHere({u"check"_s, h}).out.split(u'\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith(u"QUILLBANK OK - 1 container, none fills within 12 weeks | "
                                     "'a b c  weeks'=U;12:;4:;0; 'age'="_s),
                 qPrintable(lines[0]));
        QCOMPARE(lines[1], u"a b c  (v   w) OK: no trend yet"_s);
        QCOMPARE(runCliHere({u"metrics"_s, h}).out.count(u"quillbank_container_free_bytes{"_s), 1);
    }

    // monitor-metrics.prom is the text worked out by hand from the numbers
    // above, with C's awkward names escaped; D, not growing, has no fill time.
    void metrics()
    {
        const QByteArray expected =
            fileContents(QStringLiteral(QUILLBANK_TEST_DATA "/monitor-metrics.prom"));
        const CliRun run = runCliHere({u"metrics"_s, fixedHistory});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.toUtf8(), expected);
        const QString prom = m_dir.filePath(u"quillbank.prom"_s);
        QCOMPARE(runCliHere({u"metrics"_s, fixedHistory, u"-o"_s, prom}).status, 0);
        QCOMPARE(fileContents(prom), expected);
        // Ten bytes an hour keep their fraction, to the 17 digits that read back.
        const QString hourly = file(*encodeHistory(sampleHistory(25, 1)));
        QVERIFY(runCliHere({u"metrics"_s, hourly})
                    .out.contains(u"_per_second{container_uuid=\"UUID-c0\",container=\"disk-c0\","
                                  "first_volume=\"c0\"} 0.0027777777777777779\n"_s));
        QProcess promtool; // Prometheus's own checker, where it is installed
        promtool.start(u"promtool"_s, {u"check"_s, u"metrics"_s});
        if (!promtool.waitForStarted())
            QSKIP("promtool is not installed (Debian package prometheus)");
        promtool.write(expected);
        promtool.closeWriteChannel();
        QVERIFY(promtool.waitForFinished(60000));
        QVERIFY2(promtool.exitCode() == 0, promtool.readAllStandardError().constData());
    }

    // Without HISTORY, record makes the per-user history, which --help names.
    void defaultHistory()
    {
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_s).toUtf8());
        const CliProcess cli;
        QCOMPARE(cli.run({u"record"_s, u"--probe"_s, tool(goodListing)}).status, 0);
        const QString expected = m_dir.filePath(u"data/Quillbank/history.json"_s);
        QVERIFY(fileContents(expected).startsWith("[{\"id\":"));
        const QString help = cli.run({u"--help"_s}).out; // all of it, and nothing more
        const char *last = exitCodeMeanings[std::size(exitCodeMeanings) - 1].meaning;
        QVERIFY(help.contains(u"record, report, check and metrics use\n  "_s + expected));
        QVERIFY(help.endsWith(QLatin1StringView(last) + u'\n'));
        // The commands that read a history find it there too.
        for (const QString &command : {u"report"_s, u"metrics"_s, u"check"_s})
            QVERIFY2(cli.run({command}).out.contains(u"disk2"_s), qPrintable(command));
    }
    // --help prints the exit statuses from the one table, and the README and
    // the manual page say the same.
    void exitStatusesAreDocumented()
    {
        const CliRun help = runCliHere({u"--help"_s});
        QCOMPARE(help.status, 0);
        const QString version = runCliHere({u"--version"_s}).out;
        QVERIFY(version.startsWith(u"quillbank-cli "_s));
        // Every spelling gives the same text.
        for (const QStringList &args : {QStringList{u"help"_s}, {u"list"_s, u"--version"_s}})
            QCOMPARE(runCliHere(args).out, args.size() == 1 ? help.out : version);
        QVERIFY(runCliHere({u"csv"_s, u"--help"_s}).out.contains(u"-o <FILE>"_s));
        const auto flat = [](QString text) {
            return text.replace(QRegularExpression(u"\\s+"_s), u" "_s);
        };
        const QString source = QStringLiteral(QUILLBANK_SOURCE_DIR);
        const QString readme = flat(QString::fromUtf8(fileContents(source + u"/README.md")));
        const QString manual = flat(
            QString::fromUtf8(fileContents(source + u"/packaging/quillbank-cli.1")).remove(u'\\'));
        for (const ExitCodeMeaning &exit : exitCodeMeanings) {
            const QString meaning = QLatin1StringView(exit.meaning);
            QVERIFY2(flat(help.out).contains(u"%1 %2"_s.arg(int(exit.code)).arg(meaning)),
                     exit.meaning);
            QVERIFY2(readme.contains(u"| %1 | %2 |"_s.arg(int(exit.code)).arg(meaning)),
                     exit.meaning);
            QVERIFY2(manual.contains(u".B %1 .TP %2"_s.arg(int(exit.code)).arg(meaning)) ||
                         manual.contains(u".B %1 %2"_s.arg(int(exit.code)).arg(meaning)),
                     exit.meaning);
        }
    }

    void fullStandardOutput()
    {
        const CliRun run = CliProcess().run({u"--help"_s}, false, 0, u"/dev/full"_s);
        QCOMPARE(run.status, int(ExitOutputFailed));
        QCOMPARE(run.err,
                 u"quillbank-cli: cannot write standard output: No space left on device\n"_s);
        const CliRun check = CliProcess().run({u"check"_s, fixedHistory}, false, 0, u"/dev/full"_s);
        QCOMPARE(check.status, 3);
        QCOMPARE(check.err, u"QUILLBANK UNKNOWN - cannot write standard output: No space left on "
                            "device\n"_s);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
