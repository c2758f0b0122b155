#include "cli.h"

#include "cliprocess.h"
#include "commands.h"
#include "defaulthistory.h"
#include "exitcodes.h"

#include <cerrno>
#include <cstdio>

namespace {

Command withDefault(Command command, Command::DefaultHistory use)
{
    command.defaultHistory = use;
    return command;
}

QList<Command> commands()
{
    using enum Command::DefaultHistory;
    return {listCommand(), withDefault(recordCommand(), Make), withDefault(reportCommand(), Read),
            csvCommand(),  withDefault(checkCommand(), Read),  withDefault(metricsCommand(), Read)};
}

std::optional<Command> findCommand(const QString &name)
{
    for (const Command &command : commands()) {
        if (command.name == name)
            return command;
    }
    return std::nullopt;
}

// "record, report, check and metrics"
QString defaultHistoryUsers()
{
    QStringList names;
    for (const Command &command : commands()) {
        if (command.defaultHistory != Command::DefaultHistory::None)
            names.append(command.name);
    }
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

int failed(const Command &command, QTextStream &out, QTextStream &err, const QString &reason,
           int status)
{
    return command.fail ? command.fail(out, err, reason, status) : fail(err, reason, status);
}

// The per-user history's folder must be sound before a command uses it.
bool prepareDefaultHistory(const Command &command, const CommandLine &line, QString *error)
{
    return command.defaultHistory == Command::DefaultHistory::None ||
           !line.positional().isEmpty() ||
           defaultHistoryFolder(command.defaultHistory == Command::DefaultHistory::Make, error);
}

QString exitStatusText()
{
    QString text = QStringLiteral("Exit status:\n");
    for (const ExitCodeMeaning &exit : exitCodeMeanings)
        text +=
            QStringLiteral("  %1  %2\n").arg(int(exit.code)).arg(QLatin1StringView(exit.meaning));
    return text;
}

QString usage()
{
    QString text =
        QStringLiteral("Usage: quillbank-cli COMMAND [OPTIONS]\n\n"
                       "Takes readings of the disk containers' used space and reports on saved\n"
                       "histories, without the desktop window.\n\nCommands:\n");
    for (const Command &command : commands())
        text += QStringLiteral("  %1 %2\n").arg(command.name, command.synopsis);
    return text +
           QStringLiteral("\nOptions:\n"
                          "  -h, --help     Displays help on commandline options.\n"
                          "  -v, --version  Displays version information.\n\n"
                          "'quillbank-cli COMMAND --help' describes each command.\n\n") +
           QStringLiteral("Without HISTORY, %1 use\n  ").arg(defaultHistoryUsers()) +
           defaultHistoryPath() + QStringLiteral("\n\n") + exitStatusText();
}

int usageError(QTextStream &err, const QString &error, const QString &hint)
{
    err << "quillbank-cli: " << error << '\n' << hint << '\n';
    return ExitUsage;
}

int runCommand(const Command &command, const QStringList &arguments, QTextStream &out,
               QTextStream &err)
{
    CommandLine line(command);
    QString error;
    if (!line.parse(arguments)) {
        const int status = failed(command, out, err, line.error(), ExitUsage);
        err << "Usage: quillbank-cli " << command.name << ' ' << command.synopsis << '\n';
        return status;
    }
    if (line.wantsHelp())
        out << line.helpText() << '\n' << exitStatusText();
    else if (line.wantsVersion())
        out << "quillbank-cli " QUILLBANK_VERSION "\n";
    else if (!prepareDefaultHistory(command, line, &error))
        return failed(command, out, err, error, ExitUsage);
    else
        return command.run(line, out, err);
    return ExitOk;
}

} // namespace

int runCliOnStandardStreams(const QStringList &arguments)
{
    prepareCliProcess();
    // The output is written in one piece at the end, so that a failure to
    // write it is seen with its reason.
    QString text;
    int status = ExitOk;
    QTextStream err(stderr);
    {
        QTextStream out(&text);
        status = runCli(arguments, out, err);
    }
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
        std::fflush(stdout) == 0)
        return status;
    const QString reason = QStringLiteral("cannot write standard output: %1")
                               .arg(qt_error_string(errno ? errno : EIO));
    const std::optional<Command> command = findCommand(arguments.value(1));
    // Standard output is gone: the failure goes where the error does.
    return command ? failed(*command, err, err, reason, ExitOutputFailed)
                   : fail(err, reason, ExitOutputFailed);
}

int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    const QString name = arguments.value(1);
    if (name == u"-h" || name == u"--help" || name == u"help") {
        out << usage();
        return ExitOk;
    }
    if (name == u"-v" || name == u"--version") {
        out << "quillbank-cli " QUILLBANK_VERSION "\n";
        return ExitOk;
    }
    if (const std::optional<Command> command = findCommand(name))
        return runCommand(*command, arguments, out, err);
    return usageError(err,
                      name.isEmpty() ? QStringLiteral("no command given")
                                     : QStringLiteral("unknown command \"%1\"").arg(name),
                      QStringLiteral("Try 'quillbank-cli --help'."));
}
