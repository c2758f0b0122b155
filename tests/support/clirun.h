#pragma once

// quillbank-cli as tests run it: in-process, or as a process of its own,
// optionally as the unprivileged user `nobody` and with a limit on the size
// of the files it may write.
#include "cli.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

struct CliRun {
    int status = -1; // -1: crashed or hung
    QString out;
    QString err;
};

inline CliRun runCliHere(const QStringList &args)
{
    CliRun run;
    QTextStream out(&run.out), err(&run.err);
    run.status = runCli(QStringList{QStringLiteral("quillbank-cli")} + args, out, err);
    out.flush();
    err.flush();
    return run;
}

inline constexpr uid_t nobodyId = 65534;
// The child's status when it could not give up root.
inline constexpr int cannotDropRoot = 99;

class CliProcess
{
public:
    // A copy of the tool in a scratch folder: the build folder may lie where
    // `nobody` cannot reach (under /root, say).
    CliProcess()
    {
        QFile::setPermissions(m_dir.path(), QFile::permissions(m_dir.path()) | QFile::ExeOther |
                                                QFile::ReadOther);
        m_path = m_dir.filePath(QStringLiteral("quillbank-cli"));
        QFile::copy(QStringLiteral(QUILLBANK_BIN_DIR "/quillbank-cli"), m_path);
        QFile::setPermissions(m_path, QFile::permissions(m_path) | QFile::ExeOther);
    }

    // As nobody when asNobody and we are root; fileLimit bytes (0: none)
    // stand in for a full disk; standard output to `output` when given.
    CliRun run(const QStringList &args, bool asNobody = false, rlim_t fileLimit = 0,
               const QString &output = {}) const
    {
        QProcess cli;
        cli.setProcessEnvironment(environment);
        if (!output.isEmpty())
            cli.setStandardOutputFile(output);
        cli.setChildProcessModifier([asNobody, fileLimit] {
            std::signal(SIGCHLD, SIG_IGN); // as a careless parent may hand it down
            if (fileLimit > 0) {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{fileLimit, fileLimit};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            if (asNobody && geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setgid(nobodyId) != 0 || setuid(nobodyId) != 0))
                _exit(cannotDropRoot);
        });
        cli.start(m_path, args);
        if (!cli.waitForFinished(120000) || cli.exitStatus() != QProcess::NormalExit)
            return {};
        return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
                QString::fromUtf8(cli.readAllStandardError())};
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

private:
    QTemporaryDir m_dir;
    QString m_path;
};
