#include "clistore.h"
#include "commands.h"
#include "exitcodes.h"

#include <QFileInfo>

namespace {

// Read JSON, Check All, Save As JSON: the app's own steps, without dialogs.
int record(const CommandLine &line, QTextStream &, QTextStream &err)
{
    const QString path = line.positional().first();
    CliStore reading(probeProgram(line));
    int status = QFileInfo::exists(path) ? reading.readHistory(path) : ExitOk;
    if (status == ExitOk)
        status = reading.checkContainers();
    if (status == ExitOk)
        status = reading.saveHistory(path);
    if (status != ExitOk)
        err << "quillbank-cli: " << reading.failure() << '\n';
    return status;
}

} // namespace

Command recordCommand()
{
    return {QStringLiteral("record"),
            QStringLiteral("HISTORY [--probe PROGRAM]"),
            QStringLiteral("Take one reading and append it to the JSON history file HISTORY, as "
                           "Read JSON, Check All and\nSave As JSON would; the file is made when "
                           "absent, replaced atomically, and left as it was on\nany failure."),
            {probeOption()},
            1,
            1,
            record};
}
