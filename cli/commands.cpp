#include "commands.h"

QCommandLineOption probeOption()
{
    return {QStringLiteral("probe"),
            QStringLiteral("Run PROGRAM with the arguments \"apfs list -plist\" in place of the "
                           "listing tool."),
            QStringLiteral("PROGRAM")};
}

std::optional<QString> probeProgram(const CommandLine &line)
{
    if (!line.isSet(QStringLiteral("probe")))
        return std::nullopt;
    return line.value(QStringLiteral("probe"));
}

QString noSuchContainer(const QString &conUUID)
{
    return QStringLiteral("the history has no reading of container %1").arg(conUUID);
}
