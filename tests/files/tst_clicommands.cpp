#include "clirunner.h"
#include "csvexport.h"
#include "historyencoder.h"
#include "historyfile.h"
#include "samplehistory.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <bit>

namespace {

const QByteArray listing = "<plist version=\"1.0\"><dict><key>Containers</key><array>"
                           "<dict><key>APFSContainerUUID</key><string>C-1</string>"
                           "<key>CapacityCeiling</key><integer>1000</integer>"
                           "<key>CapacityFree</key><integer>400</integer>"
                           "<key>ContainerReference</key><string>disk3</string>"
                           "<key>Volumes</key><array><dict>"
                           "<key>APFSVolumeUUID</key><string>V</string>"
                           "<key>Name</key><string>Data</string><key>Roles</key><array/>"
                           "<key>CapacityInUse</key><integer>550</integer></dict></array></dict>"
                           "<dict><key>APFSContainerUUID</key><string>C-2</string>"
                           "<key>CapacityCeiling</key><integer>50</integer>"
                           "<key>CapacityFree</key><integer>5</integer>"
                           "<key>ContainerReference</key><string>disk4</string>"
                           "<key>Volumes</key><array/></dict>"
                           "</array></dict></plist>";

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCliCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QString newPath(const QString &suffix)
    {
        return m_dir.filePath(QString::number(m_files++) + suffix);
    }

    QString probe(const QByteArray &output, int status = 0)
    {
        return writeProbe(m_dir, output, status);
    }

    QString historyFile(const QByteArray &bytes)
    {
        const QString path = newPath(u".json"_qs);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }

    static int run(const QStringList &args, QString *out = nullptr, QString *err = nullptr)
    {
        return runCliCapturing(args, out, err);
    }

private slots:
    void recordMakesThenExtendsTheHistory()
    {
        const QString history = m_dir.filePath(u"recorded.json"_qs);
        QCOMPARE(run({u"record"_qs, history, u"--probe"_qs, probe(listing)}), 0);
        const auto first = readHistoryFile(history);
        QVERIFY(first);
        QCOMPARE(first->size(), 1);
        QCOMPARE(first->first().containers.size(), 2);
        const ContainerInfo &c = first->first().containers.first();
        QCOMPARE(c.conUUID, u"C-1"_qs);
        QCOMPARE(c.totalUsed, 550);
        QCOMPARE(c.free, 400);

        QCOMPARE(run({u"record"_qs, history, u"--probe"_qs, probe(listing)}), 0);
        const auto second = readHistoryFile(history);
        QVERIFY(second);
        QCOMPARE(second->size(), 2);
        QCOMPARE(second->first(), first->first());
        QVERIFY(second->last().date >= second->first().date);
    }

    void failedRecordLeavesTheFileAlone_data()
    {
        QTest::addColumn<QByteArray>("before"); // empty: no file
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        const QByteArray valid = *encodeHistory(sampleHistory(2, 2));
        QTest::newRow("tool fails") << valid << QStringList{u"--probe"_qs, probe(listing, 1)} << 3;
        QTest::newRow("tool missing")
            << valid << QStringList{u"--probe"_qs, u"/nonexistent/tool"_qs} << 3;
        QTest::newRow("undecodable")
            << valid << QStringList{u"--probe"_qs, probe("<plist><dict/></plist>")} << 4;
        QTest::newRow("no file, tool fails")
            << QByteArray() << QStringList{u"--probe"_qs, probe(listing, 2)} << 3;
        QTest::newRow("invalid history")
            << QByteArray(R"([{"id":"x"}])") << QStringList{u"--probe"_qs, probe(listing)} << 5;
        QTest::newRow("not JSON") << QByteArray("garbage")
                                  << QStringList{u"--probe"_qs, probe(listing)} << 5;
        QTest::newRow("no history given") << valid << QStringList{u"--json"_qs} << 2;
    }

    void failedRecordLeavesTheFileAlone()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        const QString history = before.isEmpty() ? newPath(u".json"_qs) : historyFile(before);
        QString err;
        QCOMPARE(run(QStringList{u"record"_qs, history} + options, nullptr, &err), status);
        QVERIFY(!err.isEmpty());
        QCOMPARE(QFile::exists(history), !before.isEmpty());
        QCOMPARE(contents(history), before);
    }

    void recordThatCannotWriteFails()
    {
        const QString history = m_dir.filePath(u"missing/history.json"_qs);
        QString err;
        QCOMPARE(run({u"record"_qs, history, u"--probe"_qs, probe(listing)}, nullptr, &err), 7);
        QVERIFY2(err.contains(u"cannot write"), qPrintable(err));
        QVERIFY(!QFile::exists(history));
    }

    void reportPrintsTheWindowsLines()
    {
        const QString history = historyFile(
            R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","date":0,"containers":[)"
            R"({"id":"7F9619FF-8B86-D011-B42D-00C04FC964FF","conUUID":"C","conRef":"disk3",)"
            R"("capacity":400000000000,"free":250000000000,"volNames":"A, B","firstVolName":"A",)"
            R"("totalUsed":100000000000}]},)"
            R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964F0","date":604800,"containers":[)"
            R"({"id":"7F9619FF-8B86-D011-B42D-00C04FC964F0","conUUID":"C","conRef":"disk5",)"
            R"("capacity":400000000000,"free":250000000000,"volNames":"A, B, C",)"
            R"("firstVolName":"A","totalUsed":101000000000}]}])");
        QString out;
        QCOMPARE(run({u"report"_qs, history}, &out), 0);
        QCOMPARE(out, u"disk5 (A, B, C), 2 readings\n"
                      "Total Used (GB), maximum 101.000000 GB, minimum free 250.000000 GB\n"
                      "Rate of Increase in Used Space (GB/week), overall 1.000000 GB/week\n"
                      "Forecast time for container to fill at current rate of increase in used "
                      "space: 250 weeks\n"_qs);

        out.clear();
        QCOMPARE(
            run({u"report"_qs, history, u"--json"_qs, u"--series"_qs, u"--container"_qs, u"C"_qs},
                &out),
            0);
        const QJsonObject c = QJsonDocument::fromJson(out.toUtf8())
                                  .object()[u"containers"_qs]
                                  .toArray()[0]
                                  .toObject();
        QCOMPARE(c[u"conRef"_qs].toString(), u"disk5"_qs);
        QCOMPARE(c[u"readings"_qs].toInt(), 2);
        QCOMPARE(c[u"timeToRun"_qs].toInt(), 250);
        // 0.9999999999999999 in double arithmetic, and printed so it reads back as such.
        const double rate = 1000000000.0 / 604800.0 * 0.0006048;
        QCOMPARE(std::bit_cast<quint64>(c[u"overallRate"_qs].toDouble()),
                 std::bit_cast<quint64>(rate));
        QVERIFY(out.contains(u"\"overallRate\":0.9999999999999999,"));
        const QJsonArray series = c[u"series"_qs].toArray();
        QCOMPARE(series.size(), 2);
        QCOMPARE(series[1].toObject()[u"rateTotal"_qs].toInt(), 1653);
    }

    void reportFailures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("errorMentions");
        const QString history = historyFile(*encodeHistory(sampleHistory(2, 2)));
        QTest::newRow("unknown container")
            << QStringList{u"report"_qs, history, u"--container"_qs, u"nope"_qs} << 6 << u"nope"_qs;
        const QString bad = historyFile(R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF"}])");
        QTest::newRow("invalid history") << QStringList{u"report"_qs, bad} << 5 << u"date"_qs;
        QTest::newRow("missing file")
            << QStringList{u"report"_qs, newPath(u".json"_qs)} << 5 << u".json"_qs;
        QTest::newRow("two files")
            << QStringList{u"report"_qs, history, history} << 2 << u"Usage"_qs;
    }

    void reportFailures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, errorMentions);
        QString out;
        QString err;
        QCOMPARE(run(args, &out, &err), status);
        QVERIFY(out.isEmpty());
        QVERIFY2(err.contains(errorMentions), qPrintable(err));
    }

    void csvWritesTheExportsBytes()
    {
        const QList<DataPoint> history = sampleHistory(3, 2);
        const QString file = historyFile(*encodeHistory(history));
        QList<DataContainerInfo> entries;
        for (const DataPoint &p : history) {
            for (const ContainerInfo &c : p.containers)
                entries.append(DataContainerInfo::fromContainer(c, p.date, QString()));
        }
        const QByteArray expected = *CsvExport::fromEntries(entries, u"UUID-c1"_qs)->text();
        QCOMPARE(expected.count('\n'), 7);

        QString out;
        QCOMPARE(run({u"csv"_qs, file, u"UUID-c1"_qs}, &out), 0);
        QCOMPARE(out.toUtf8(), expected);

        const QString target = newPath(u".csv"_qs);
        QCOMPARE(run({u"csv"_qs, file, u"UUID-c1"_qs, u"-o"_qs, target}), 0);
        QCOMPARE(contents(target), expected);

        const QString absent = newPath(u".csv"_qs);
        QCOMPARE(run({u"csv"_qs, file, u"UUID-c9"_qs, u"-o"_qs, absent}), 6);
        QVERIFY(!QFile::exists(absent));
        QCOMPARE(run({u"csv"_qs, newPath(u".json"_qs), u"UUID-c1"_qs}), 5);
        QCOMPARE(run({u"csv"_qs, file}), 2);
    }
};

QTEST_GUILESS_MAIN(TestCliCommands)
#include "tst_clicommands.moc"
