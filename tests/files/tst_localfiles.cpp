#include "dates.h"
#include "histories.h"
#include "historylock.h"
#include "localfiles.h"
#include "scripts.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestLocalFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    LocalFiles m_files;
    int m_cases = 0;

    // A folder of its own holding a valid history of three readings.
    QString newFolder()
    {
        const QString folder = m_dir.filePath(QString::number(m_cases++));
        QDir().mkpath(folder);
        m_files.writeHistory(folder + u"/history.json"_s, sampleHistory(3, 2), nullptr);
        return folder;
    }

private slots:
    void saveThenReadKeepsEveryField()
    {
        const QString path = newFolder() + u"/history.json"_s;
        for (const QList<DataPoint> &history : {awkwardHistory(), sampleHistory(8000, 4)}) {
            QString error;
            QVERIFY2(m_files.writeHistory(path, history, &error), qPrintable(error));
            const auto read = m_files.readHistory(path, &error);
            QVERIFY2(read, qPrintable(error));
            QCOMPARE(*read, history);
        }
    }

    // The history appears as a new file: a failure halfway can never leave
    // the user with neither copy. The old file's second name shows it. A save
    // that fails leaves the old file and no other behind.
    void saveReplacesTheFileAsAWhole()
    {
        const QString folder = newFolder();
        const QString file = folder + u"/history.json"_s;
        const QByteArray old = fileContents(file);
        QCOMPARE(::link(qPrintable(file), qPrintable(folder + u"/old.json"_s)), 0);
        QVERIFY(m_files.writeHistory(file, sampleHistory(4, 1), nullptr));
        QCOMPARE(fileContents(folder + u"/old.json"_s), old);
        QCOMPARE(m_files.readHistory(file, nullptr)->size(), 4);
        QVERIFY(QFile::link(u"loop"_s, folder + u"/loop"_s));
        const QStringList files = entries(folder);
        for (const auto &[where, reason] :
             {std::pair{u"history.json/h.json"_s, u"Not a directory"_s},
              {u"missing/h.json"_s, u"No such file or directory"_s},
              {u"loop"_s, u"Too many levels of symbolic links"_s}}) {
            QString error;
            QVERIFY(!m_files.writeHistory(folder + u'/' + where, sampleHistory(1, 1), &error));
            QCOMPARE(error, reason);
        }
        QCOMPARE(m_files.readHistory(file, nullptr)->size(), 4);
        QCOMPARE(entries(folder), files);
    }

    // White space may come before a history; an empty file is none.
    void historyStart_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QString>("error"); // empty: the history reads
        QTest::newRow("white space") << QByteArray(" \t\r\n") << QString();
        QTest::newRow("empty file") << QByteArray() << u"not valid JSON (Empty: no JSON found)"_s;
    }
    void historyStart()
    {
        QFETCH(QByteArray, start);
        QFETCH(QString, error);
        const QString path = newFolder() + u"/history.json"_s;
        QFile file(path);
        const QByteArray history = error.isEmpty() ? fileContents(path) : QByteArray();
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(start + history) >= 0);
        file.close();
        QString why;
        const auto read = m_files.readHistory(path, &why);
        QCOMPARE(why, error);
        QCOMPARE(read.has_value(), error.isEmpty());
    }

    // A writer that cannot lock says why: the holder's pid and program, or the system's reason.
    void lockReasons()
    {
        const QString path = newFolder() + u"/history.json"_s;
        QString error;
        bool busy = true;
        auto held = m_files.lockHistory(path, &error, &busy);
        QVERIFY(held);
        HistoryLock second(path);
        QCOMPARE(second.lock(std::chrono::milliseconds(0)), HistoryLock::Outcome::Busy);
        QCOMPARE(second.errorString(),
                 u"%1 is locked by process %2 (%3); gave up after 0 s"_s.arg(
                     path, QString::number(getpid()), QCoreApplication::applicationName()));
        // A second writer waits for the first rather than giving up at once.
        std::jthread release([&held] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            held.reset();
        });
        QCOMPARE(second.lock(), HistoryLock::Outcome::Locked);
        const QString other = newFolder() + u"/history.json"_s; // a lock file made just now,
        QVERIFY(QFile(HistoryLock::lockPath(other)).open(QIODevice::WriteOnly)); // its pid to come
        QCOMPARE(HistoryLock(other).lock(std::chrono::milliseconds(0)), HistoryLock::Outcome::Busy);
        const QString missing = m_dir.filePath(u"missing/history.json"_s);
        QVERIFY(!m_files.lockHistory(missing, &error, &busy));
        QVERIFY(!busy);
        QCOMPARE(error,
                 u"cannot make the lock file "_s + missing + u".lock: No such file or directory"_s);
    }

    // Run with TZ=Europe/Paris: the dates are local time.
    void csvBytes()
    {
        const double nine = secondsSinceReference(QDateTime(QDate(2024, 5, 14), QTime(9, 0)));
        QList<DataContainerInfo> list;
        for (const auto &[date, free] : {std::pair{nine, qint64(244384795648)},
                                         std::pair{nine + 3600, qint64(244348795648)}}) {
            const ContainerInfo c{{},           u"C"_s,      u"disk3"_s,
                                  494384795648, free,        u"System, Data"_s,
                                  u"System"_s,  241000000000};
            list.append(DataContainerInfo::fromContainer(c, date, {}));
        }
        const QString path = m_dir.filePath(u"two.csv"_s);
        QVERIFY(m_files.writeCsv(path, *ContainerExport::fromEntries(list, u"C"_s), nullptr));
        QCOMPARE(fileContents(path),
                 QByteArray("date,size,sizeTotal,rate\n"
                            "14/05/2024 09:00:00,250000000000,241000000000,0\n"
                            "14/05/2024 10:00:00,250036000000,241000000000,10000\n"
                            "\n\n\"System, Data\"\nCapacity: 494384795648"));
        // A date the export cannot write: no file, and the reason.
        list.append(DataContainerInfo::fromContainer(list.constLast(), 1e300, {}));
        const QString bad = m_dir.filePath(u"bad.csv"_s);
        QString error;
        QVERIFY(!m_files.writeCsv(bad, *ContainerExport::fromEntries(list, u"C"_s), &error));
        QVERIFY2(error.contains(u"out of range"), qPrintable(error));
        QVERIFY(!QFile::exists(bad));
    }
};

QTEST_GUILESS_MAIN(TestLocalFiles)
#include "tst_localfiles.moc"
