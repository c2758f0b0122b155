#include "commands.h"

#include "defaulthistory.h"

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
