#pragma once

#include "filesystemlookup.h"

#include <QHash>
#include <QSet>

// Answers from tables instead of the system: sizes by mount point, ids by
// device, and the mount ids whose mount point another mount covers.
class FakeFileSystemLookup : public FileSystemLookup
{
public:
    QHash<QByteArray, SpaceUsage> usageByMountPoint;
    QHash<QByteArray, FileSystemIds> idsBySource;
    QSet<int> covered;
    QList<QByteArray> measured; // mount points asked about, in order

    std::optional<SpaceUsage> spaceUsage(const MountEntry &mount, QString *error) override
    {
        measured.append(mount.mountPoint);
        if (covered.contains(mount.mountId) || !usageByMountPoint.contains(mount.mountPoint)) {
            *error = QStringLiteral("not measurable");
            return std::nullopt;
        }
        return usageByMountPoint.value(mount.mountPoint);
    }
    FileSystemIds ids(const MountEntry &mount) override { return idsBySource.value(mount.source); }
};
