#include "recordcommand.h"

#include "arguments.h"
#include "exitcodes.h"
#include "historyfile.h"
#include "historyloader.h"
#include "readingtaker.h"

#include <QFileInfo>

int recordCommand(const QStringList &words, QTextStream &, QTextStream &err)
{
    const Arguments args(words, {QStringLiteral("--probe")}, {});
    if (!args.isValid() || args.positional().size() != 1) {
        err << "quillbank-cli: "
            << (args.isValid() ? QStringLiteral("record takes one history file") : args.error())
            << "\nUsage: quillbank-cli record HISTORY [--probe PROGRAM]\n";
        return ExitUsage;
    }
    const QString path = args.positional().first();
    // Read JSON, Check All, Save As JSON: the app's own steps, without dialogs.
    ReadingTaker reading(args.value(QStringLiteral("--probe")));
    if (QFileInfo::exists(path) && !loadHistory(path, reading.store(), err))
        return ExitBadHistory;
    QString error;
    if (const int status = reading.take(&error); status != ExitOk) {
        err << "quillbank-cli: " << error << '\n';
        return status;
    }
    if (!writeHistoryFile(path, reading.store().globalConData(), &error)) {
        err << "quillbank-cli: cannot write " << path << ": " << error << '\n';
        return ExitCannotWrite;
    }
    return ExitOk;
}
