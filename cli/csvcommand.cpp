#include "csvcommand.h"

#include "DiskInfo.h"
#include "arguments.h"
#include "atomicfile.h"
#include "csvexport.h"
#include "exitcodes.h"
#include "historyloader.h"

int csvCommand(const QStringList &words, QTextStream &out, QTextStream &err)
{
    const Arguments args(words, {QStringLiteral("-o")}, {});
    if (!args.isValid() || args.positional().size() != 2) {
        err << "quillbank-cli: "
            << (args.isValid() ? QStringLiteral("csv takes a history file and a container UUID")
                               : args.error())
            << "\nUsage: quillbank-cli csv HISTORY CONUUID [-o FILE]\n";
        return ExitUsage;
    }
    DiskInfo store;
    if (!loadHistory(args.positional().at(0), store, err))
        return ExitBadHistory;
    const QString conUUID = args.positional().at(1);
    const std::optional<CsvExport> rows = CsvExport::fromEntries(store.containerData(), conUUID);
    if (!rows) {
        err << "quillbank-cli: the history has no reading of container " << conUUID << '\n';
        return ExitNoSuchContainer;
    }
    const std::optional<QByteArray> text = rows->text();
    if (!text) {
        err << "quillbank-cli: a size, rate or date of container " << conUUID
            << " is out of range; nothing written\n";
        return ExitBadHistory;
    }
    const std::optional<QString> file = args.value(QStringLiteral("-o"));
    QString error;
    if (file && !writeFileAtomically(*file, *text, &error)) {
        err << "quillbank-cli: cannot write " << *file << ": " << error << '\n';
        return ExitCannotWrite;
    }
    if (!file)
        out << QString::fromUtf8(*text);
    return ExitOk;
}
