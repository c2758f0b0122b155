#include "clistore.h"
#include "commands.h"
#include "exitcodes.h"
#include "fillwarnings.h"

#include <QFileInfo>

namespace {

// Read JSON, Check All, Save As JSON: the app's own steps, without dialogs.
int readCheckSave(const QString &path, CliStore &reading)
{
    int status = QFileInfo::exists(path) ? reading.readHistory(path) : ExitOk;
    if (status == ExitOk)
        status = reading.checkContainers();
    if (status == ExitOk)
        status = reading.saveHistory(path);
    return status;
}

int record(const CommandLine &line, QTextStream &, QTextStream &err)
{
    QString error;
    const std::optional<ProbeLimits> limits = probeLimits(line, &error);
    const std::optional<WeekThresholds> weeks =
        limits ? weekThresholds(line, &error) : std::nullopt;
    if (!weeks)
        return fail(err, error, ExitUsage);
    const QString path = historyArgument(line);
    // The lock is taken only around the save, which reads the file again and
    // keeps whatever another writer added while the tool ran.
    CliStore reading(probeProgram(line), *limits);
    const int status = readCheckSave(path, reading);
    if (status == ExitOk)
        warnOnDesktop(line, reading.store(), *weeks);
    return status == ExitOk ? ExitOk : fail(err, reading.failure(), status);
}

} // namespace

Command recordCommand()
{
    return {
        QStringLiteral("record"),
        QStringLiteral("[HISTORY] [--probe PROGRAM] [--timeout SECONDS] [--warn-weeks N] "
                       "[--crit-weeks M] [--no-notify]"),
        QStringLiteral("Take one reading and append it to the JSON history file HISTORY, as "
                       "Read JSON, Check All and\nSave As JSON would; the file is made when "
                       "absent, replaced atomically, and left as it was on\nany failure. "
                       "HISTORY.lock keeps a second record (or the window's Save) waiting\n"
                       "while this one writes; readings another writer added meanwhile are kept.\n"
                       "When this reading brings a container's recent trend within N weeks of "
                       "full (default 12),\nor M (default 4), a desktop notification says so, "
                       "once per crossing."),
        {probeOption(), timeoutOption(), warnWeeksOption(), critWeeksOption(), noNotifyOption()},
        0,
        1,
        record};
}
