#include "commands.h"

#include "defaulthistory.h"
#include "fileerrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

// Makes folder and those above it; the system's reason when one cannot be made.
QString makeFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    for (qsizetype end = path.indexOf('/', 1);; end = path.indexOf('/', end + 1)) {
        const QByteArray part = end < 0 ? path : path.left(end);
        const int code = ::mkdir(part.constData(), 0777) == 0 ? 0 : errno;
        if (code != 0 && code != EEXIST && !QFileInfo(QFile::decodeName(part)).isDir())
            return qt_error_string(code);
        if (end < 0)
            return QFileInfo(folder).isDir() ? QString() : qt_error_string(ENOTDIR);
    }
}

QString whyNotUsable(const QString &folder, bool make)
{
    const QString home = QFile::decodeName(qgetenv("HOME"));
    if (home.isEmpty())
        return QStringLiteral("HOME is not set");
    if (!QDir::isAbsolutePath(home))
        return QStringLiteral("HOME (%1) is not an absolute path").arg(home);
    if (!QDir::isAbsolutePath(folder))
        return QStringLiteral("not an absolute path");
    return make ? makeFolder(folder) : QString();
}

} // namespace
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

bool defaultHistoryFolder(bool make, QString *error)
{
    const QString folder = QFileInfo(defaultHistoryPath()).path();
    const QString reason = whyNotUsable(folder, make);
    if (!reason.isEmpty())
        *error =
            QStringLiteral("cannot make the default history's folder %1: %2").arg(folder, reason);
    return reason.isEmpty();
}

QString historyArgument(const CommandLine &line)
{
    return line.positional().value(0, defaultHistoryPath());
}

int fail(QTextStream &err, const QString &reason, int status)
{
    err << "quillbank-cli: " << reason << '\n';
    return status;
}

QCommandLineOption warnWeeksOption()
{
    return {QStringLiteral("warn-weeks"), QStringLiteral("Warn below N weeks until full."),
            QStringLiteral("N")};
}

QCommandLineOption critWeeksOption()
{
    return {QStringLiteral("crit-weeks"), QStringLiteral("Critical below M weeks until full."),
            QStringLiteral("M")};
}

bool readNumberOption(const CommandLine &line, const QString &name, double *value, QString *error)
{
    if (!line.isSet(name))
        return true;
    bool ok = false;
    *value = line.value(name).toDouble(&ok);
    if (ok && *value >= 0 && *value < 1e9)
        return true;
    *error =
        QStringLiteral("--%1 wants a number from 0 on, not \"%2\"").arg(name, line.value(name));
    return false;
}

std::optional<WeekThresholds> weekThresholds(const CommandLine &line, QString *error)
{
    WeekThresholds weeks;
    if (!readNumberOption(line, QStringLiteral("warn-weeks"), &weeks.warnWeeks, error) ||
        !readNumberOption(line, QStringLiteral("crit-weeks"), &weeks.critWeeks, error))
        return std::nullopt;
    return weeks;
}

int readHistoryOrFail(CliStore &history, const QString &path, QTextStream &err)
{
    const int status = history.readHistory(path);
    return status == ExitOk ? ExitOk : fail(err, history.failure(), status);
}
