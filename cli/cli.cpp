#include "cli.h"

#include "commands.h"
#include "exitcodes.h"

#include <cerrno>
#include <cstdio>

namespace {

QList<Command> commands()
{
    return {listCommand(), recordCommand(), reportCommand(),
            csvCommand(),  checkCommand(),  metricsCommand()};
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
                          "'quillbank-cli COMMAND --help' describes each command.\n\n"
                          "Without HISTORY, record, report, check and metrics use\n  ") +
           defaultHistory() + QStringLiteral("\n\n") + exitStatusText();
}

int usageError(QTextStream &err, const QString &error, const QString &hint, int status = ExitUsage)
{
    err << "quillbank-cli: " << error << '\n' << hint << '\n';
    return status;
}

int runCommand(const Command &command, const QStringList &arguments, QTextStream &out,
               QTextStream &err)
{
    CommandLine line(command);
    if (!line.parse(arguments))
        return usageError(
            err, line.error(),
            QStringLiteral("Usage: quillbank-cli %1 %2").arg(command.name, command.synopsis),
            command.usageStatus);
    if (line.wantsHelp())
        out << line.helpText() << '\n' << exitStatusText();
    else if (line.wantsVersion())
        out << "quillbank-cli " QUILLBANK_VERSION "\n";
    else
        return command.run(line, out, err);
    return ExitOk;
}

} // namespace

int runCliOnStandardStreams(const QStringList &arguments)
{
    // The output is written in one piece at the end, so that a failure to
    // write it is seen with its reason.
    QString text;
    int status = ExitOk;
    {
        QTextStream out(&text);
        QTextStream err(stderr);
        status = runCli(arguments, out, err);
    }
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
        std::fflush(stdout) == 0)
        return status;
    std::fprintf(stderr, "quillbank-cli: cannot write standard output: %s\n",
                 qPrintable(qt_error_string(errno ? errno : EIO)));
    return ExitOutputFailed;
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
    for (const Command &command : commands()) {
        if (command.name == name)
            return runCommand(command, arguments, out, err);
    }
    return usageError(err,
                      name.isEmpty() ? QStringLiteral("no command given")
                                     : QStringLiteral("unknown command \"%1\"").arg(name),
                      QStringLiteral("Try 'quillbank-cli --help'."));
}
