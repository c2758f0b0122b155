#include "rootmount.h"

#include "mounttable.h"

#include <QFile>

std::optional<MountEntry> rootMount()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::optional<MountEntry> root;
    for (const MountEntry &entry : parseMountTable(file.readAll())) {
        if (entry.mountPoint == "/")
            root = entry;
    }
    return root;
}
