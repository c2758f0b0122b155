#include "clistore.h"
#include "commands.h"
#include "csvtext.h"
#include "exitcodes.h"

namespace {

int csv(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    const QString conUUID = line.positional().at(1);
    CliStore history;
    int status = history.readHistory(line.positional().at(0));
    const auto rows = status == ExitOk
                          ? ContainerExport::fromEntries(history.store().containerData(), conUUID)
                          : std::nullopt;
    if (status != ExitOk) {
        err << "quillbank-cli: " << history.failure() << '\n';
    } else if (!rows) {
        err << "quillbank-cli: " << noSuchContainer(conUUID) << '\n';
        status = ExitNoSuchContainer;
    } else if (line.isSet(QStringLiteral("o"))) {
        status = history.saveCsv(conUUID, line.value(QStringLiteral("o")));
        if (status != ExitOk)
            err << "quillbank-cli: " << history.failure() << '\n';
    } else if (const std::optional<QByteArray> text = csvText(*rows)) {
        out << QString::fromUtf8(*text);
    } else {
        err << "quillbank-cli: " << rows->whyInexact() << '\n';
        status = ExitBadHistory;
    }
    return status;
}

} // namespace

Command csvCommand()
{
    return {QStringLiteral("csv"),
            QStringLiteral("HISTORY CONUUID [-o FILE]"),
            QStringLiteral("The Save Selection As CSV export of one container, to standard output "
                           "or (atomically)\nto FILE."),
            {{QStringLiteral("o"), QStringLiteral("Write the export to FILE."),
              QStringLiteral("FILE")}},
            2,
            2,
            csv};
}
