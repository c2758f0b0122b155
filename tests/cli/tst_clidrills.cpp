// quillbank-cli as a process among others: lock files left behind or held,
// writers killed, signals, the limits a shell sets and its environment.
#include "clirun.h"
#include "exitcodes.h"
#include "histories.h"
#include "historyencoder.h"
#include "listingxml.h"
#include "localfiles.h"
#include "scripts.h"

#include <QDir>
#include <QSysInfo>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString cli = QStringLiteral(QUILLBANK_BIN_DIR "/quillbank-cli");

// Whether a process whose command line holds marker runs (zombies have none).
bool runs(const QByteArray &marker)
{
    for (const QString &pid : QDir(u"/proc"_s).entryList(QDir::Dirs))
        if (fileContents(u"/proc/"_s + pid + u"/cmdline"_s).replace('\0', ' ').contains(marker))
            return true;
    return false;
}

} // namespace

class TestCliDrills : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_tool;
    QString m_big;
    int m_runs = 0;

    QString fresh(const QString &name)
    {
        const QString folder = m_dir.filePath(QString::number(m_runs++));
        QDir().mkpath(folder);
        return folder + u'/' + name;
    }

private slots:
    void initTestCase()
    {
        QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) | QFile::ExeOther);
        m_tool = writeListingTool(m_dir, u"tool"_s, listingXml({{"C-1", "disk2", 100, 5, {}}}));
        // About 60 MB, made fast by repeating readings.
        const QByteArray some = encodeHistory(sampleHistory(1000, 3)).value().mid(1).chopped(1);
        QFile big(m_big = m_dir.filePath(u"big.json"_s));
        QVERIFY(big.open(QIODevice::WriteOnly) &&
                big.write('[' + QByteArrayList(60000000 / some.size(), some).join(',') + ']'));
    }

    // Only a lock whose holder runs keeps record out.
    void lockFiles_data()
    {
        QTest::addColumn<QByteArray>("contents"); // empty pid: that of a live holder
        QTest::addColumn<int>("status");
        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        const QByteArray pidMax = fileContents(u"/proc/sys/kernel/pid_max"_s).trimmed();
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("garbage") << QByteArray("\x01 no pid\n") << 0;
        QTest::newRow("dead pid") << pidMax + "\nquillbank-cli\n" + host + '\n' << 0;
        QTest::newRow("live holder") << "\nsleep\n" + host + '\n' << int(ExitLocked);
    }
    void lockFiles()
    {
        QFETCH(QByteArray, contents);
        const QString history = fresh(u"h.json"_s), lock = history + u".lock"_s;
        const QStringList record{u"record"_s, history, u"--probe"_s, m_tool};
        QProcess holder; // holds flock() on the file as QLockFile does, and runs on
        if (contents.startsWith('\n')) {
            holder.start(u"sh"_s, {u"-c"_s, u"exec 9<>\"$0\" && flock 9 && exec sleep 60"_s, lock});
            QTRY_VERIFY(QFile::exists(lock));
            contents.prepend(QByteArray::number(holder.processId()));
        }
        QFile file(lock); // else left by an earlier run, not one making it now
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() &&
                file.flush() &&
                file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
        file.close();
        const CliRun run = CliProcess().run(record);
        QTEST(run.status, "status");
        if (holder.state() != QProcess::NotRunning) {
            QVERIFY2(run.err.contains(u"locked by process %1 (sleep)"_s.arg(holder.processId())),
                     qPrintable(run.err));
            holder.kill();
            QVERIFY(holder.waitForFinished() && CliProcess().run(record).status == 0);
        }
        QCOMPARE(LocalFiles().readHistory(history, nullptr)->size(), 1);
        QVERIFY(!QFile::exists(lock));
    }

    // A writer killed mid-save leaves its temporary file, and the next one
    // removes it, and nothing else; one stopped by a signal removes its own.
    void killedWritersLeaveNothing_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGKILL") << int(SIGKILL);
        QTest::newRow("SIGTERM") << int(SIGTERM);
    }
    void killedWritersLeaveNothing()
    {
        QFETCH(int, signal);
        const QString history = fresh(u"h.json"_s);
        const QDir folder = QFileInfo(history).dir();
        const auto hidden = [&] { return folder.entryList({u".*"_s}, QDir::Files | QDir::Hidden); };
        QVERIFY(QFile::copy(m_big, history));
        QProcess writer;
        writer.start(cli, {u"record"_s, history, u"--probe"_s, m_tool});
        while (writer.state() != QProcess::NotRunning && hidden().isEmpty())
            QTest::qWait(1);
        ::kill(pid_t(writer.processId()), signal);
        writer.waitForFinished();
        if (writer.exitStatus() == QProcess::NormalExit && writer.exitCode() != 128 + signal)
            QSKIP("the writer finished before it could be stopped");
        QCOMPARE(hidden().isEmpty(), signal != SIGKILL);
        if (signal != SIGKILL)
            return;
        QFile(folder.filePath(u".h.json.bak"_s)).open(QIODevice::WriteOnly);
        QCOMPARE(CliProcess().run({u"record"_s, history, u"--probe"_s, m_tool}).status, 0);
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden),
                 QStringList({u".h.json.bak"_s, u"h.json"_s}));
    }

    // A signal ends the command with 128 + its number and leaves nothing of
    // the tool running, not even a child that started a session of its own.
    void signalsStopTheTool_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("nohup"); // SIGHUP ignored from the start, and sent first
        QTest::newRow("SIGTERM to record") << u"record"_s << int(SIGTERM) << false;
        QTest::newRow("SIGINT to list") << u"list"_s << int(SIGINT) << false;
        QTest::newRow("SIGHUP to record") << u"record"_s << int(SIGHUP) << false;
        QTest::newRow("SIGTERM to record under nohup") << u"record"_s << int(SIGTERM) << true;
    }
    void signalsStopTheTool()
    {
        QFETCH(QString, command);
        QFETCH(int, signal);
        // Ours alone, though suites run side by side, and gone in two minutes
        // should the command fail to stop it.
        const QByteArray marker =
            "120." + QByteArray::number(QCoreApplication::applicationPid()).rightJustified(7, '0') +
            QByteArray::number(m_runs++).rightJustified(3, '0');
        const QString hangs = writeScript(m_dir, u"hangs"_s + QString::number(m_runs),
                                          "setsid sleep " + marker + "1 &\nsleep " + marker +
                                              "2 &\nsleep " + marker + '3');
        QStringList args{command, u"--probe"_s, hangs};
        if (command == u"record")
            args.insert(1, fresh(u"h.json"_s));
        QFETCH(bool, nohup);
        QProcess run;
        const QString trap = nohup ? u"trap '' HUP; "_s : QString();
        run.start(u"sh"_s, QStringList{u"-c"_s, trap + u"exec \"$0\" \"$@\""_s, cli} + args);
        QTRY_VERIFY(runs(marker + "1") && runs(marker + "3"));
        if (nohup)
            QVERIFY(::kill(pid_t(run.processId()), SIGHUP) == 0 && !run.waitForFinished(500));
        ::kill(pid_t(run.processId()), signal);
        QVERIFY(run.waitForFinished(10000));
        QCOMPARE(run.exitCode(), 128 + signal);
        // A loaded machine may take a while to reap them.
        QTRY_VERIFY_WITH_TIMEOUT(!runs(marker), 30000);
    }

    // A tool that ends by itself leaves nothing running either.
    void finishedToolLeavesNothing()
    {
        const QByteArray marker =
            "121." + QByteArray::number(QCoreApplication::applicationPid()).rightJustified(7, '0');
        const QString tool = writeScript(m_dir, u"strays"_s,
                                         "setsid sleep " + marker + " >/dev/null 2>&1 &\nexec '" +
                                             m_tool.toUtf8() + '\'');
        QCOMPARE(CliProcess().run({u"record"_s, fresh(u"h.json"_s), u"--probe"_s, tool}).status, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!runs(marker), 30000);
    }

    // The default history needs an absolute HOME and data folder, and says
    // why its folder cannot be made.
    void defaultHistoryFolder_data()
    {
        QTest::addColumn<QString>("home"); // empty: unset
        QTest::addColumn<QString>("dataHome");
        QTest::addColumn<QString>("reason");
        QTest::newRow("HOME unset") << QString() << QString() << u"HOME is not set"_s;
        QTest::newRow("relative HOME")
            << u"home"_s << QString() << u"HOME (home) is not an absolute path"_s;
        QTest::newRow("relative data folder")
            << u"/"_s << u"data"_s << u"data/Quillbank: not an absolute path"_s;
        QTest::newRow("HOME not writable") << m_dir.path() << QString() << u"Permission denied"_s;
    }
    void defaultHistoryFolder()
    {
        QFETCH(QString, home);
        QFETCH(QString, dataHome);
        QFETCH(QString, reason);
        CliProcess cli;
        cli.environment.remove(u"HOME"_s);
        cli.environment.remove(u"XDG_DATA_HOME"_s);
        if (!home.isEmpty())
            cli.environment.insert(u"HOME"_s, home);
        if (!dataHome.isEmpty())
            cli.environment.insert(u"XDG_DATA_HOME"_s, dataHome);
        const CliRun run = cli.run({u"record"_s, u"--probe"_s, m_tool}, true);
        if (run.status == cannotDropRoot || (geteuid() != 0 && reason == u"Permission denied"))
            QSKIP("needs an unprivileged user run by root");
        QCOMPARE(run.status, int(ExitUsage));
        QVERIFY2(
            run.err.startsWith(u"quillbank-cli: cannot make the default history's folder "_s) &&
                run.err.endsWith(reason + u'\n') && run.err.count(u'\n') == 1,
            qPrintable(run.err));
    }

    // Limits a shell sets are failures with their reason, never a crash.
    void shellLimits_data()
    {
        QTest::addColumn<QString>("script"); // $0: quillbank-cli, $1: a history, $2: a tool
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::newRow("lock, ulimit -f 0") << u"ulimit -f 0; exec \"$0\" record \"$1\" --probe $2"_s
                                           << int(ExitCannotWrite) << u".lock: File too large"_s;
        QTest::newRow("output, ulimit -f 1") << u"ulimit -f 1; exec \"$0\" --help > \"$1.out\""_s
                                             << int(ExitOutputFailed) << u": File too large"_s;
        QTest::newRow("memory, ulimit -v")
            << u"ulimit -v 250000; exec \"$0\" report \"$1\""_s << int(ExitBadHistory)
            << u"quillbank-cli: not enough memory to read"_s;
    }
    void shellLimits()
    {
        QFETCH(QString, script);
#ifdef __SANITIZE_ADDRESS__
        if (script.contains(u"ulimit -v"))
            QSKIP("AddressSanitizer needs more address space than the limit");
#endif
        QProcess shell;
        shell.start(u"sh"_s, {u"-c"_s, script, cli, m_big, m_tool});
        QVERIFY(shell.waitForFinished(120000) && shell.exitStatus() == QProcess::NormalExit);
        QTEST(shell.exitCode(), "status");
        const QString err = QString::fromUtf8(shell.readAllStandardError());
        QFETCH(QString, reason);
        QVERIFY2(err.count(u'\n') == 1 && err.contains(reason), qPrintable(err));
        QVERIFY(!QFile::exists(m_big + u".lock"_s));
    }

    // As users run it, as nobody when we are root (root ignores permissions).
    void processDrills_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("status");
        QTest::newRow("unreadable history") << 0 << 5;
        QTest::newRow("read-only folder") << 1 << 7;
        QTest::newRow("full disk") << 2 << 7;
    }
    void processDrills()
    {
        QFETCH(int, fault);
        const QString history = fresh(u"h.json"_s);
        const QString folder = QFileInfo(history).path();
        QVERIFY(LocalFiles().writeHistory(history, sampleHistory(3, 2), nullptr));
        const QByteArray kept = fileContents(history);
        if (geteuid() == 0)
            QVERIFY(chown(qPrintable(folder), nobodyId, nobodyId) == 0 &&
                    chown(qPrintable(history), nobodyId, nobodyId) == 0);
        if (fault == 0)
            QFile::setPermissions(history, {});
        if (fault == 1)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ExeOther);
        const CliRun run = CliProcess().run({u"record"_s, history, u"--probe"_s, m_tool}, true,
                                            fault == 2 ? rlim_t(kept.size() + 16) : 0);
        if (run.status == cannotDropRoot)
            QSKIP("cannot run the command-line tool as an unprivileged user");
        QTEST(run.status, "status");
        QVERIFY2(run.err.startsWith(u"quillbank-cli: "_s) && run.err.count(u'\n') == 1,
                 qPrintable(run.err));
        QFile::setPermissions(history, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(fileContents(history), kept);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"h.json"_s});
    }
};

QTEST_GUILESS_MAIN(TestCliDrills)
#include "tst_clidrills.moc"
