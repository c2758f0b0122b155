#pragma once

#include "devicelinks.h"
#include "filesystemlookup.h"

// The running system's answers: statvfs on the mount point, the filesystem
// UUID and label from /dev/disk/by-uuid and /dev/disk/by-label, else from the
// superblock through libblkid.
class SystemFileSystemLookup : public FileSystemLookup
{
public:
    SystemFileSystemLookup();

    std::optional<SpaceUsage> spaceUsage(const MountEntry &mount, QString *error) override;
    FileSystemIds ids(const MountEntry &mount) override;

private:
    DeviceLinks m_byUuid;
    DeviceLinks m_byLabel;
};
