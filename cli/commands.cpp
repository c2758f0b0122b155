#include "commands.h"

#include "clistore.h"
#include "exitcodes.h"

#include <QStandardPaths>

QCommandLineOption probeOption()
{
    return {QStringLiteral("probe"),
            QStringLiteral("Run PROGRAM with the arguments \"apfs list -plist\" in place of the "
                           "listing tool."),
            QStringLiteral("PROGRAM")};
}

QCommandLineOption timeoutOption()
{
    return {QStringLiteral("timeout"),
            QStringLiteral("Stop the listing tool after SECONDS (default 60) and fail."),
            QStringLiteral("SECONDS")};
}

std::optional<QString> probeProgram(const CommandLine &line)
{
    if (!line.isSet(QStringLiteral("probe")))
        return std::nullopt;
    return line.value(QStringLiteral("probe"));
}

QString noSuchContainer(const QString &conUUID)
{
    return QStringLiteral("the history has no reading of container %1").arg(conUUID);
}

std::optional<ProbeLimits> probeLimits(const CommandLine &line, QString *error)
{
    ProbeLimits limits;
    if (!line.isSet(QStringLiteral("timeout")))
        return limits;
    bool ok = false;
    const double seconds = line.value(QStringLiteral("timeout")).toDouble(&ok);
    // Up to a day: more helps nobody, and far more would overflow.
    if (!ok || !(seconds > 0 && seconds <= 86400)) {
        *error =
            QStringLiteral("--timeout wants a number of seconds above 0, at most 86400, not \"%1\"")
                .arg(line.value(QStringLiteral("timeout")));
        return std::nullopt;
    }
    limits.timeout = std::chrono::milliseconds(qMax(qint64(1), qint64(seconds * 1000)));
    return limits;
}

QString defaultHistory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/history.json");
}

QString historyArgument(const CommandLine &line)
{
    return line.positional().value(0, defaultHistory());
}

int fail(QTextStream &err, const QString &reason, int status)
{
    err << "quillbank-cli: " << reason << '\n';
    return status;
}

int readHistoryOrFail(CliStore &history, const QString &path, QTextStream &err)
{
    const int status = history.readHistory(path);
    return status == ExitOk ? ExitOk : fail(err, history.failure(), status);
}
