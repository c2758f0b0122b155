#include "DiskInfo.h"
#include "historyfile.h"
#include "samplehistory.h"
#include "standinchooser.h"
#include "stubs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Root ignores file permissions; the command-line tool is then run as this
// user so that the permission drills mean something.
constexpr uid_t nobody = 65534;
// The child's status when it could not give up root.
constexpr int cannotDropRoot = 99;

bool isRoot()
{
    return geteuid() == 0;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Limits the size of files this process may write, as a full disk would; the
// writes fail with EFBIG instead of a signal killing the process.
void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::min(bytes, limit.rlim_max);
    setrlimit(RLIMIT_FSIZE, &limit);
}

struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// How a history location is broken.
enum class Fault { Unreadable, Folder, FailingDevice, ReadOnlyFolder, Full, UnderAFile };

} // namespace

class TestHistoryFaults : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    StandInChooser m_chooser;
    QString m_probe;
    QString m_cli;
    int m_rows = 0;

    // A folder of its own for each case, holding a valid history of three
    // readings at history.json.
    QString newLocation()
    {
        const QString folder = m_dir.filePath(QString::number(m_rows++));
        QDir().mkpath(folder);
        writeHistoryFile(folder + u"/history.json"_s, sampleHistory(3, 2));
        return folder;
    }

    // The path the case reads or saves; sets up the fault around it.
    QString breakLocation(const QString &folder, Fault fault)
    {
        const QString history = folder + u"/history.json"_s;
        switch (fault) {
        case Fault::Unreadable:
            QFile::setPermissions(history, {});
            return history;
        case Fault::Folder:
            QFile::remove(history);
            QDir().mkdir(history);
            return history;
        case Fault::FailingDevice:
            return u"/proc/self/mem"_s; // opens, then every read fails
        case Fault::ReadOnlyFolder:
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                              QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
            return history;
        case Fault::Full:
            // The tool runs as nobody when we are root: the folder and the
            // history are theirs, so only the full disk stands in the way.
            if (isRoot() && (chown(qPrintable(folder), nobody, nobody) != 0 ||
                             chown(qPrintable(history), nobody, nobody) != 0))
                qWarning("cannot hand %s to nobody", qPrintable(folder));
            return history;
        case Fault::UnderAFile:
            return history + u"/history.json"_s;
        }
        return history;
    }

    static std::unique_ptr<DiskInfo> newStore()
    {
        return std::make_unique<DiskInfo>(std::make_unique<FixedClock>(800000000.0),
                                          std::make_unique<CannedListing>());
    }

    // quillbank-cli as users run it; as nobody when we are root. fileLimit
    // (bytes, 0 for none) stands in for a full disk.
    CliRun runCli(const QStringList &args, rlim_t fileLimit = 0)
    {
        QProcess cli;
        cli.setChildProcessModifier([fileLimit] {
            if (fileLimit > 0)
                limitFileSize(fileLimit);
            if (geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0))
                _exit(cannotDropRoot);
        });
        cli.start(m_cli, args);
        if (!cli.waitForFinished(60000) || cli.exitStatus() != QProcess::NormalExit)
            return {};
        return {cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
    }

    // The tool failed with status and said why in one line.
    static void verifyOneLine(const CliRun &run, int status)
    {
        QCOMPARE(run.status, status);
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.startsWith(u"quillbank-cli: "), qPrintable(err));
        QVERIFY2(err.endsWith(u'\n') && err.count(u'\n') == 1, qPrintable(err));
    }

    static bool rootIgnores(Fault fault)
    {
        return isRoot() && (fault == Fault::Unreadable || fault == Fault::ReadOnlyFolder);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Reachable by the unprivileged user the tool may run as.
        QVERIFY(QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) |
                                                        QFile::ReadOther | QFile::ExeOther));
        const QString listing = m_dir.filePath(u"listing.plist"_s);
        QFile out(listing);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("<plist version=\"1.0\"><dict><key>Containers</key><array><dict>"
                  "<key>APFSContainerUUID</key><string>UUID-c0</string>"
                  "<key>CapacityCeiling</key><integer>1000</integer>"
                  "<key>CapacityFree</key><integer>300</integer>"
                  "<key>ContainerReference</key><string>disk-c0</string>"
                  "<key>Volumes</key><array/></dict></array></dict></plist>");
        out.close();
        m_probe = m_dir.filePath(u"probe"_s);
        QFile probe(m_probe);
        QVERIFY(probe.open(QIODevice::WriteOnly));
        probe.write("#!/bin/sh\ncat '" + listing.toUtf8() + "'\n");
        probe.close();
        QVERIFY(probe.setPermissions(probe.permissions() | QFile::ExeOwner | QFile::ExeOther |
                                     QFile::ReadOther));
        // A copy in the scratch folder: the build folder may lie where the
        // unprivileged user cannot reach (under /root, say).
        m_cli = m_dir.filePath(u"quillbank-cli"_s);
        QVERIFY(QFile::copy(QStringLiteral(QUILLBANK_BIN_DIR "/quillbank-cli"), m_cli));
        QVERIFY(QFile::setPermissions(m_cli, QFile::permissions(m_cli) | QFile::ExeOther |
                                                 QFile::ReadOther));
    }

    void readFailures_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("unreadable") << Fault::Unreadable;
        QTest::newRow("a folder") << Fault::Folder;
        QTest::newRow("every read fails") << Fault::FailingDevice;
    }
    void readFailures()
    {
        QFETCH(Fault, fault);
        const QString path = breakLocation(newLocation(), fault);
        const CliRun run = runCli({u"report"_s, path});
        if (run.status == cannotDropRoot)
            QSKIP("cannot run the command-line tool as an unprivileged user");
        verifyOneLine(run, 5);
        if (QTest::currentTestFailed())
            return;

        if (rootIgnores(fault))
            QSKIP("the store runs as root, which ignores file permissions");
        auto store = newStore();
        store->replaceHistory(sampleHistory(2, 1));
        const QList<DataPoint> before = store->globalConData();
        const QList<DataContainerInfo> entriesBefore = store->containerData();
        store->setFileChooser(&m_chooser);
        m_chooser.willChoose(path);
        const int answered = m_chooser.answered();
        store->readData();
        QTRY_COMPARE(m_chooser.answered(), answered + 1);
        QCOMPARE(store->globalConData(), before);
        QCOMPARE(store->containerData(), entriesBefore);
    }

    void saveFailures_data()
    {
        // The store's history: a small one fits the file's write buffer and
        // only fails when flushed, a large one is written straight through.
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("readings");
        QTest::newRow("read-only folder") << Fault::ReadOnlyFolder << 20;
        QTest::newRow("full disk") << Fault::Full << 20;
        QTest::newRow("full disk, large save") << Fault::Full << 400;
        QTest::newRow("location under a file") << Fault::UnderAFile << 20;
    }
    void saveFailures()
    {
        QFETCH(Fault, fault);
        const QString folder = newLocation();
        const QString path = breakLocation(folder, fault);
        const QString existing = folder + u"/history.json"_s;
        const QByteArray kept = contents(existing);
        const QStringList files = entries(folder);
        // Room for the file as it is, not for one more reading.
        const rlim_t limit = fault == Fault::Full ? rlim_t(kept.size() + 16) : 0;

        const CliRun run = runCli({u"record"_s, path, u"--probe"_s, m_probe}, limit);
        if (run.status == cannotDropRoot)
            QSKIP("cannot run the command-line tool as an unprivileged user");
        verifyOneLine(run, 7);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(contents(existing), kept);
        QCOMPARE(entries(folder), files);

        if (rootIgnores(fault))
            QSKIP("the store runs as root, which ignores file permissions");
        auto store = newStore();
        QFETCH(int, readings);
        store->replaceHistory(sampleHistory(readings, 2));
        store->setFileChooser(&m_chooser);
        m_chooser.willChoose(path);
        const int answered = m_chooser.answered();
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        if (limit > 0)
            limitFileSize(limit);
        store->saveJSON();
        QTRY_COMPARE(m_chooser.answered(), answered + 1);
        setrlimit(RLIMIT_FSIZE, &unlimited);
        QCOMPARE(contents(existing), kept);
        QCOMPARE(entries(folder), files);
    }
};

QTEST_GUILESS_MAIN(TestHistoryFaults)
#include "tst_historyfaults.moc"
