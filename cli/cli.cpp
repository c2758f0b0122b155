#include "cli.h"

#include "exitcodes.h"
#include "listcommand.h"

#include <QHash>

#include <functional>

namespace {

const char *const usage = R"(Usage: quillbank-cli COMMAND [OPTIONS]

Takes readings of the disk containers' used space and reports on saved
histories, without the desktop window.

Commands:
  list [--probe PROGRAM]
      Take one reading as the Check All tool does and print one line per
      container: conRef,firstVolName,capacity,free,totalUsed,conUUID
      (sizes in bytes).

Options:
  --probe PROGRAM   run PROGRAM with the arguments "apfs list -plist" in
                    place of the system's listing tool
  -h, --help        show this help

Exit status:
  0  success
  2  wrong command or options
  3  the listing tool could not be run, crashed or failed
  4  the listing does not decode
)";

using Command = std::function<int(const QStringList &, QTextStream &, QTextStream &)>;

const QHash<QString, Command> &commands()
{
    static const QHash<QString, Command> table{
        {QStringLiteral("list"), listCommand},
    };
    return table;
}

} // namespace

int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString name = arguments.value(1);
    if (name == u"-h" || name == u"--help" || name == u"help") {
        out << usage;
        return ExitOk;
    }
    const auto command = commands().constFind(name);
    if (command == commands().cend()) {
        err << "quillbank-cli: "
            << (name.isEmpty() ? QStringLiteral("no command given")
                               : QStringLiteral("unknown command \"%1\"").arg(name))
            << "\nTry 'quillbank-cli --help'.\n";
        return ExitUsage;
    }
    return (*command)(arguments.mid(2), out, err);
}
