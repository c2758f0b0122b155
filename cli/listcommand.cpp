#include "listcommand.h"

#include "arguments.h"
#include "exitcodes.h"
#include "readingtaker.h"

int listCommand(const QStringList &words, QTextStream &out, QTextStream &err)
{
    const Arguments args(words, {QStringLiteral("--probe")}, {});
    if (!args.isValid() || !args.positional().isEmpty()) {
        err << "quillbank-cli: "
            << (args.isValid() ? QStringLiteral("list takes no arguments") : args.error())
            << "\nUsage: quillbank-cli list [--probe PROGRAM]\n";
        return ExitUsage;
    }
    ReadingTaker reading(args.value(QStringLiteral("--probe")));
    QString error;
    if (const int status = reading.take(&error); status != ExitOk) {
        err << "quillbank-cli: " << error << '\n';
        return status;
    }
    for (const ContainerInfo &container : reading.store().containerList())
        out << container.copyText() << '\n';
    return ExitOk;
}
