#include "dates.h"
#include "localfiles.h"
#include "samplehistory.h"
#include "scripts.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Limits the size of files this process may write, as a full disk would,
// until it goes out of scope.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        const rlimit limit{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

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
    // the user with neither copy. The old file's second name shows it.
    void saveReplacesTheFileAsAWhole()
    {
        const QString folder = newFolder();
        const QString file = folder + u"/history.json"_s;
        const QByteArray old = fileContents(file);
        QCOMPARE(::link(qPrintable(file), qPrintable(folder + u"/old.json"_s)), 0);
        QVERIFY(m_files.writeHistory(file, sampleHistory(4, 1), nullptr));
        QCOMPARE(fileContents(folder + u"/old.json"_s), old);
        QCOMPARE(m_files.readHistory(file, nullptr)->size(), 4);
    }

    void failedSaveLeavesTheFile_data()
    {
        QTest::addColumn<int>("readings"); // a small save fits the write buffer, a large one not
        QTest::addColumn<QString>("where");
        QTest::newRow("full disk") << 20 << u"history.json"_s;
        QTest::newRow("full disk, large save") << 400 << u"history.json"_s;
        QTest::newRow("location under a file") << 20 << u"history.json/history.json"_s;
        QTest::newRow("folder missing") << 20 << u"missing/history.json"_s;
    }
    void failedSaveLeavesTheFile()
    {
        QFETCH(int, readings);
        QFETCH(QString, where);
        const QString folder = newFolder();
        const QByteArray kept = fileContents(folder + u"/history.json"_s);
        const QStringList files = entries(folder);
        QString error;
        {
            // Room for the file as it is, not for the longer one.
            const FileSizeLimit limit(rlim_t(kept.size() + 16));
            QVERIFY(
                !m_files.writeHistory(folder + u'/' + where, sampleHistory(readings, 2), &error));
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(fileContents(folder + u"/history.json"_s), kept);
        QCOMPARE(entries(folder), files);
    }

    void failedReadSaysWhy_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("bytes"); // written to the path unless empty
        QTest::newRow("no such file") << m_dir.filePath(u"absent.json"_s) << QByteArray();
        QTest::newRow("a folder") << m_dir.path() << QByteArray();
        QTest::newRow("every read fails") << u"/proc/self/mem"_s << QByteArray();
        QTest::newRow("not a history") << m_dir.filePath(u"bad.json"_s) << QByteArray("[{}]");
    }
    void failedReadSaysWhy()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, bytes);
        if (!bytes.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QString error;
        QVERIFY(!m_files.readHistory(path, &error));
        QVERIFY(!error.isEmpty() && !error.contains(u'\n'));
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
    }
};

QTEST_GUILESS_MAIN(TestLocalFiles)
#include "tst_localfiles.moc"
