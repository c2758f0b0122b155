#include "DiskInfo.h"
#include "announcements.h"
#include "dates.h"
#include "historyfile.h"
#include "samplehistory.h"
#include "standinchooser.h"
#include "stubs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using Mode = FileChooser::Mode;
using ContentType = FileChooser::ContentType;
using Response = FileChooser::Response;

namespace {

std::unique_ptr<DiskInfo> newStore()
{
    return std::make_unique<DiskInfo>(std::make_unique<FixedClock>(100.0),
                                      std::make_unique<CannedListing>());
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Seconds since 2001 of a wall-clock time in the test's zone (Europe/Paris).
double localSeconds(int year, int month, int day, int hour, int minute, int second)
{
    return secondsSinceReference(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

DataContainerInfo entry(const QString &conUUID, double date, qint64 capacity, qint64 free,
                        qint64 totalUsed, const QString &volNames = u"System, Data"_qs)
{
    ContainerInfo c{newId(), conUUID,  u"disk3"_qs,  capacity,
                    free,    volNames, u"System"_qs, totalUsed};
    return DataContainerInfo::fromContainer(c, date, formatDateStr(date));
}

} // namespace

class TestFileOperations : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    StandInChooser m_chooser;
    std::unique_ptr<DiskInfo> m_store;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    void answerAll() { QTRY_COMPARE(m_chooser.answered(), m_chooser.requests().size()); }

    // Saves from one store and reads into a fresh one, as a user would.
    std::unique_ptr<DiskInfo> savedAndRead(const QList<DataPoint> &history)
    {
        m_store->replaceHistory(history);
        m_chooser.willChoose(path(u"roundtrip.json"_qs));
        m_store->saveJSON();
        auto reader = newStore();
        reader->setFileChooser(&m_chooser);
        reader->readData();
        answerAll();
        return reader;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init()
    {
        m_chooser = StandInChooser();
        m_store = newStore();
        m_store->setFileChooser(&m_chooser);
    }

    void saveWithEmptyHistoryShowsNoDialog()
    {
        m_store->saveJSON();
        QVERIFY(m_chooser.requests().isEmpty());
    }

    void dialogsAskForTheRightFiles()
    {
        m_store->replaceHistory(sampleHistory(1, 1));
        m_store->saveJSON();
        m_store->readData();
        m_store->saveCSV(u"UUID-c0"_qs);
        QCOMPARE(m_chooser.requests().size(), 3);
        QCOMPARE(m_chooser.requests().at(0).mode, Mode::Save);
        QCOMPARE(m_chooser.requests().at(0).type, ContentType::Json);
        QCOMPARE(m_chooser.requests().at(1).mode, Mode::Open);
        QCOMPARE(m_chooser.requests().at(1).type, ContentType::Json);
        QCOMPARE(m_chooser.requests().at(2).mode, Mode::Save);
        QCOMPARE(m_chooser.requests().at(2).type, ContentType::Csv);
        answerAll();
    }

    void saveThenReadKeepsTheHistory()
    {
        const QList<DataPoint> history = awkwardHistory();
        const auto reader = savedAndRead(history);
        QCOMPARE(reader->globalConData(), history);
        // Each entry copies its container but gets an id of its own.
        const QList<DataContainerInfo> &entries = reader->containerData();
        QCOMPARE(entries.size(), 4);
        const ContainerInfo &texts = history.at(0).containers.at(0);
        QCOMPARE(entries.at(0).conRef, texts.conRef);
        QCOMPARE(entries.at(0).volNames, texts.volNames);
        QVERIFY(entries.at(0).id != texts.id);
        QCOMPARE(entries.at(2).capacity, std::numeric_limits<qint64>::max());
        QCOMPARE(entries.at(2).date, history.at(2).date);
        QCOMPARE(entries.at(2).dateStr, formatDateStr(history.at(2).date));
        QCOMPARE(entries.at(3).date, history.at(3).date);
    }

    void saveWritesTheHistoryAtConfirmation()
    {
        m_store->replaceHistory(sampleHistory(1, 2));
        m_chooser.willChoose(path(u"later.json"_qs));
        m_store->saveJSON();
        const DataPoint later{newId(), 800000000.0, {}};
        m_store->appendGlobalConData(later);
        answerAll();
        const auto saved = readHistoryFile(path(u"later.json"_qs));
        QVERIFY(saved);
        QCOMPARE(saved->size(), 2);
        QCOMPARE(saved->last(), later);
    }

    void saveReplacesTheFileAsAWhole()
    {
        // A plain write would truncate and rewrite the file in place; the
        // history must instead appear as a new file, so a failure halfway can
        // never leave the user with neither copy. The old file's second name
        // shows which happened.
        const QString file = path(u"replaced.json"_qs);
        const QString oldName = path(u"replaced-old.json"_qs);
        writeFile(file, "old history");
        QCOMPARE(
            ::link(QFile::encodeName(file).constData(), QFile::encodeName(oldName).constData()), 0);
        m_store->replaceHistory(sampleHistory(2, 1));
        m_chooser.willChoose(file);
        m_store->saveJSON();
        answerAll();
        QCOMPARE(contents(oldName), QByteArray("old history"));
        const auto saved = readHistoryFile(file);
        QVERIFY(saved);
        QCOMPARE(*saved, m_store->globalConData());
    }

    void saveWritesNothingWithoutAFile_data()
    {
        QTest::addColumn<Response>("response");
        QTest::addColumn<QUrl>("location");
        QTest::newRow("cancelled")
            << Response::Cancel << QUrl::fromLocalFile(path(u"cancelled.json"_qs));
        QTest::newRow("no location") << Response::Ok << QUrl();
        QTest::newRow("not a local file")
            << Response::Ok << QUrl(u"https://example.com/cancelled.json"_qs);
        QTest::newRow("folder does not exist")
            << Response::Ok << QUrl::fromLocalFile(path(u"missing/cancelled.json"_qs));
    }

    void saveWritesNothingWithoutAFile()
    {
        QFETCH(Response, response);
        QFETCH(QUrl, location);
        m_store->replaceHistory(sampleHistory(1, 1));
        m_chooser.willAnswer(response, location);
        m_store->saveJSON();
        m_store->saveCSV(u"UUID-c0"_qs);
        answerAll();
        QVERIFY(!QFile::exists(path(u"cancelled.json"_qs)));
        QVERIFY(!QFile::exists(path(u"missing"_qs)));
    }

    void readRebuildsContainerDataInOrder()
    {
        const QList<DataPoint> history = sampleHistory(2, 3);
        QVERIFY(writeHistoryFile(path(u"six.json"_qs), history));
        // State that reading must leave alone.
        m_store->replaceHistory(sampleHistory(1, 1));
        m_store->setContainerList(history.first().containers);
        m_store->selectContainer(u"UUID-c0"_qs);
        const QList<ContainerInfo> list = m_store->containerList();
        const qint64 maxSizeTotal = m_store->maxSizeTotal();
        const qsizetype points = m_store->ratesPoints().size();

        Announcements announced(*m_store);
        m_chooser.willChoose(path(u"six.json"_qs));
        m_store->readData();
        answerAll();

        QCOMPARE(m_store->globalConData(), history);
        const QList<DataContainerInfo> &entries = m_store->containerData();
        QCOMPARE(entries.size(), 6);
        for (int i = 0; i < 6; ++i) {
            const DataPoint &point = history.at(i / 3);
            const ContainerInfo &c = point.containers.at(i % 3);
            QCOMPARE(entries.at(i).conUUID, c.conUUID);
            QCOMPARE(entries.at(i).totalUsed, c.totalUsed);
            QCOMPARE(entries.at(i).date, point.date);
            QVERIFY(entries.at(i).id != c.id);
        }
        // One replaced history, one emptied list, then one append per entry.
        QCOMPARE(announced.count(DiskInfo::Property::GlobalConData), 1);
        QCOMPARE(announced.count(DiskInfo::Property::ContainerData), 7);
        QCOMPARE(announced.changes().size(), 8);
        QVERIFY(announced.balanced());
        QCOMPARE(m_store->containerList(), list);
        QCOMPARE(m_store->maxSizeTotal(), maxSizeTotal);
        QCOMPARE(m_store->ratesPoints().size(), points);
    }

    void readEmptyArrayEmptiesTheHistory()
    {
        writeFile(path(u"empty.json"_qs), "[]");
        m_store->replaceHistory(sampleHistory(2, 2));
        m_chooser.willChoose(path(u"empty.json"_qs));
        m_store->readData();
        answerAll();
        QVERIFY(m_store->globalConData().isEmpty());
        QVERIFY(m_store->containerData().isEmpty());
    }

    void readingWithoutContainersStaysInTheHistory()
    {
        QList<DataPoint> history = sampleHistory(2, 1);
        history.insert(1, DataPoint{newId(), 700001000.0, {}});
        QVERIFY(writeHistoryFile(path(u"gap.json"_qs), history));
        m_chooser.willChoose(path(u"gap.json"_qs));
        m_store->readData();
        answerAll();
        QCOMPARE(m_store->globalConData().size(), 3);
        QCOMPARE(m_store->containerData().size(), 2);
    }

    void failedReadLeavesTheStoreUnchanged_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // written to the chosen file unless empty
        QTest::addColumn<Response>("response");
        QTest::addColumn<QString>("location");
        const QByteArray valid = QByteArray(R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF",)"
                                            R"("date":0,"containers":[{"id":)"
                                            R"("7F9619FF-8B86-D011-B42D-00C04FC964FF",)"
                                            R"("conUUID":"C","conRef":"d","capacity":5,)"
                                            R"("free":1,"volNames":"V","firstVolName":"V",)"
                                            R"("totalUsed":4}]}])");
        const QString file = path(u"bad.json"_qs);
        QTest::newRow("missing totalUsed")
            << QByteArray(valid).replace(R"(,"totalUsed":4)", "") << Response::Ok << file;
        QTest::newRow("wrong type")
            << QByteArray(valid).replace(R"("free":1)", R"("free":"1")") << Response::Ok << file;
        QTest::newRow("not JSON") << QByteArray(valid).chopped(1) << Response::Ok << file;
        QTest::newRow("not an array") << QByteArray(R"({"history":[]})") << Response::Ok << file;
        QTest::newRow("bad id") << QByteArray(valid).replace("6F9619FF-", "6F9619FF")
                                << Response::Ok << file;
        QTest::newRow("no such file") << QByteArray() << Response::Ok << path(u"absent.json"_qs);
        QTest::newRow("a folder") << QByteArray() << Response::Ok << m_dir.path();
        QTest::newRow("cancelled") << valid << Response::Cancel << file;
        QTest::newRow("not a local file")
            << valid << Response::Ok << u"https://example.com/h.json"_qs;
    }

    void failedReadLeavesTheStoreUnchanged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Response, response);
        QFETCH(QString, location);
        if (!bytes.isEmpty())
            writeFile(path(u"bad.json"_qs), bytes);
        m_store->replaceHistory(sampleHistory(2, 2));
        const QList<DataPoint> history = m_store->globalConData();
        const QList<DataContainerInfo> entries = m_store->containerData();
        Announcements announced(*m_store);
        m_chooser.willAnswer(response, location.startsWith(u'/') ? QUrl::fromLocalFile(location)
                                                                 : QUrl(location));
        m_store->readData();
        answerAll();
        QCOMPARE(m_store->globalConData(), history);
        QCOMPARE(m_store->containerData(), entries);
        QVERIFY(announced.changes().isEmpty());
    }

    void dateStrIsLocalTime()
    {
        // The test runs in Europe/Paris, one hour east of UTC in winter.
        const auto reader =
            savedAndRead({DataPoint{newId(), 0.0, {sampleContainer(u"a"_qs, 1, 1, 1)}}});
        QCOMPARE(reader->containerData().first().dateStr, u"01:00:00+0100 2001-01-01"_qs);
    }

    void csvOfTwoReadingsByteForByte()
    {
        const double nine = localSeconds(2024, 5, 14, 9, 0, 0);
        m_store->appendContainerData(
            entry(u"C"_qs, nine, 494384795648, 244384795648, 241000000000));
        m_store->appendContainerData(
            entry(u"C"_qs, nine + 3600, 494384795648, 244348795648, 241000000000));
        m_chooser.willChoose(path(u"two.csv"_qs));
        m_store->saveCSV(u"C"_qs);
        answerAll();
        QCOMPARE(contents(path(u"two.csv"_qs)),
                 QByteArray("date,size,sizeTotal,rate\n"
                            "14/05/2024 09:00:00,250000000000,241000000000,0\n"
                            "14/05/2024 10:00:00,250036000000,241000000000,10000\n"
                            "\n\n"
                            "\"System, Data\"\n"
                            "Capacity: 494384795648"));
    }

    void csvRowsAreTakenWhenTheCommandIsGiven()
    {
        m_store->appendContainerData(entry(u"C"_qs, 0.0, 10, 4, 5));
        m_chooser.willChoose(path(u"early.csv"_qs));
        m_store->saveCSV(u"C"_qs);
        m_store->setContainerData({});
        answerAll();
        QVERIFY(contents(path(u"early.csv"_qs)).contains("01/01/2001 01:00:00,6,5,0\n"));
    }

    void csvShowsNoDialogWithNothingToExport_data()
    {
        QTest::addColumn<QList<DataContainerInfo>>("entries");
        QTest::addColumn<QString>("conUUID");
        const QList<DataContainerInfo> one{entry(u"C"_qs, 0.0, 10, 4, 5)};
        QTest::newRow("empty conUUID") << one << QString();
        QTest::newRow("no entries") << QList<DataContainerInfo>() << u"C"_qs;
        QTest::newRow("other container") << one << u"D"_qs;
        QTest::newRow("size beyond int64")
            << QList<DataContainerInfo>{entry(u"C"_qs, 0.0, std::numeric_limits<qint64>::max(), -1,
                                              5)}
            << u"C"_qs;
        QTest::newRow("rate beyond int64")
            << QList<DataContainerInfo>{entry(u"C"_qs, 0.0, 0, 0, 0),
                                        entry(u"C"_qs, 1e-9, 0, -(qint64(1) << 62), 0)}
            << u"C"_qs;
    }

    void csvShowsNoDialogWithNothingToExport()
    {
        QFETCH(QList<DataContainerInfo>, entries);
        QFETCH(QString, conUUID);
        m_store->setContainerData(entries);
        m_store->saveCSV(conUUID);
        QVERIFY(m_chooser.requests().isEmpty());
    }

    void csvWriteReplacesAnExistingFile()
    {
        writeFile(path(u"old.csv"_qs), QByteArray(10000, 'x'));
        m_store->appendContainerData(entry(u"C"_qs, 0.0, 10, 4, 5));
        m_chooser.willChoose(path(u"old.csv"_qs));
        m_store->saveCSV(u"C"_qs);
        answerAll();
        QVERIFY(contents(path(u"old.csv"_qs)).startsWith("date,size,sizeTotal,rate\n"));
        QVERIFY(contents(path(u"old.csv"_qs)).endsWith("Capacity: 10"));
    }

    void completionAfterTheStoreIsGoneDoesNothing()
    {
        m_store->replaceHistory(sampleHistory(1, 1));
        m_chooser.willChoose(path(u"gone.json"_qs));
        m_store->saveJSON();
        m_store->readData();
        m_store.reset();
        answerAll();
        QVERIFY(!QFile::exists(path(u"gone.json"_qs)));
    }
};

QTEST_GUILESS_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
