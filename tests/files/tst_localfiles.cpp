#include "dates.h"
#include "histories.h"
#include "localfiles.h"
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
        const QStringList files = entries(folder);
        for (const QString &where : {u"history.json/h.json"_s, u"missing/h.json"_s})
            QVERIFY(!m_files.writeHistory(folder + u'/' + where, sampleHistory(1, 1), nullptr));
        QCOMPARE(m_files.readHistory(file, nullptr)->size(), 4);
        QCOMPARE(entries(folder), files);
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
