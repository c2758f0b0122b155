#pragma once

#include "devicelinks.h"
#include "filesystemlookup.h"

// The running system's answers: statvfs on the mount point, the filesystem
// UUID and label from /dev/disk/by-uuid and /dev/disk/by-label, else from the
// superblock through libblkid.
class SystemFileSystemLookup : public FileSystemLookup
{
public:
    // The link folders are udev's unless given.
    explicit SystemFileSystemLookup(
        const QByteArray &byUuid = QByteArrayLiteral("/dev/disk/by-uuid"),
        const QByteArray &byLabel = QByteArrayLiteral("/dev/disk/by-label"));

    std::optional<SpaceUsage> spaceUsage(const MountEntry &mount, QString *error) override;
    FileSystemIds ids(const MountEntry &mount) override;

private:
    DeviceLinks m_byUuid;
    DeviceLinks m_byLabel;
};
