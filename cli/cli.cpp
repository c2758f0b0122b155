#include "cli.h"

#include "csvcommand.h"
#include "exitcodes.h"
#include "listcommand.h"
#include "recordcommand.h"
#include "reportcommand.h"

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
  record HISTORY [--probe PROGRAM]
      Take one reading and append it to the JSON history file HISTORY, as
      Read JSON, Check All and Save As JSON would; the file is made when
      absent and replaced atomically, and left as it was on any failure.
  report HISTORY [--container CONUUID] [--json] [--series]
      For every container of the history (or one), the numbers the window
      shows when it is selected: readings, maximum used, minimum free,
      overall rate and forecast; --json prints one JSON object, --series
      adds every point of the growth series.
  csv HISTORY CONUUID [-o FILE]
      The Save Selection As CSV export of one container, to standard output
      or (atomically) to FILE.

Options:
  --probe PROGRAM   run PROGRAM with the arguments "apfs list -plist" in
                    place of the system's listing tool
  --container UUID  report on this container only
  --json            report as JSON
  --series          report every point of the series too
  -o FILE           write the CSV export to FILE
  -h, --help        show this help

Exit status:
  0  success
  2  wrong command or options
  3  the listing tool could not be run, crashed or failed
  4  the listing does not decode
  5  the history file is not a valid history (or holds numbers the CSV
     export cannot write)
  6  the history has no reading of the given container
  7  the output file cannot be written
)";

using Command = std::function<int(const QStringList &, QTextStream &, QTextStream &)>;

const QHash<QString, Command> &commands()
{
    static const QHash<QString, Command> table{
        {QStringLiteral("list"), listCommand},
        {QStringLiteral("record"), recordCommand},
        {QStringLiteral("report"), reportCommand},
        {QStringLiteral("csv"), csvCommand},
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
