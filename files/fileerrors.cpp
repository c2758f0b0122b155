#include "fileerrors.h"

#include <sys/stat.h>

QString notRegularFile(mode_t mode)
{
    const auto refused = [](const char *kind) -> QString {
        return QString::fromLatin1(kind) + QLatin1String(", not a regular file");
    };
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return refused("a folder");
    if (S_ISFIFO(mode))
        return refused("a FIFO");
    if (S_ISCHR(mode))
        return refused("a character device");
    if (S_ISBLK(mode))
        return refused("a block device");
    if (S_ISSOCK(mode))
        return refused("a socket");
    return QStringLiteral("not a regular file");
}
