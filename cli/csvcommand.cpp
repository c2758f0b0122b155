#include "clistore.h"
#include "commands.h"
#include "csvtext.h"
#include "exitcodes.h"

namespace {

int csv(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    const QString conUUID = line.positional().at(1);
    CliStore history;
    if (const int status = readHistoryOrFail(history, line.positional().at(0), err);
        status != ExitOk)
        return status;
    const auto rows = ContainerExport::fromEntries(history.store().containerData(), conUUID);
    if (!rows)
        return fail(err, noSuchContainer(conUUID), ExitNoSuchContainer);
    if (line.isSet(QStringLiteral("o"))) {
        const int status = history.saveCsv(conUUID, line.value(QStringLiteral("o")));
        return status == ExitOk ? ExitOk : fail(err, history.failure(), status);
    }
    const std::optional<QByteArray> text = csvText(*rows);
    if (!text)
        return fail(err, rows->whyInexact(), ExitBadHistory);
    out << QString::fromUtf8(*text);
    return ExitOk;
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
