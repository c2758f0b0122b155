#include "clistore.h"
#include "commands.h"
#include "exitcodes.h"

namespace {

int list(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    QString error;
    const std::optional<ProbeLimits> limits = probeLimits(line, &error);
    if (!limits)
        return fail(err, error, ExitUsage);
    CliStore reading(probeProgram(line), *limits);
    if (const int status = reading.checkContainers(); status != ExitOk)
        return fail(err, reading.failure(), status);
    for (const ContainerInfo &container : reading.store().containerList())
        out << container.copyText() << '\n';
    return ExitOk;
}

} // namespace

Command listCommand()
{
    return {QStringLiteral("list"),
            QStringLiteral("[--probe PROGRAM] [--timeout SECONDS]"),
            QStringLiteral("Take one reading as the Check All tool does and print one line per "
                           "container:\nconRef,firstVolName,capacity,free,totalUsed,conUUID "
                           "(sizes in bytes)."),
            {probeOption(), timeoutOption()},
            0,
            0,
            list};
}
