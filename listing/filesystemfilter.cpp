#include "filesystemfilter.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

using namespace std::string_view_literals;

// Network filesystems: statvfs waits for the server, forever when it is gone.
// fuseblk (ntfs-3g, exfat-fuse) sits on a block device, but statvfs is
// answered by the daemon and hangs with it; ntfs3 and exfat serve these disks
// from the kernel. Images (snaps, discs, initrd-like) are full by design.
constexpr std::array skippedTypes{
    "nfs"sv,       "nfs4"sv,    "cifs"sv,  "smb3"sv,   "smbfs"sv,    "ncpfs"sv, "ceph"sv,
    "glusterfs"sv, "9p"sv,      "afs"sv,   "lustre"sv, "virtiofs"sv, "fuse"sv,  "fuseblk"sv,
    "squashfs"sv,  "iso9660"sv, "erofs"sv, "cramfs"sv, "romfs"sv,
};

// Filesystems that report an anonymous device number although they live on
// block devices (one number per mounted filesystem, shared by its subvolumes).
constexpr std::array anonymousDeviceTypes{"btrfs"sv, "bcachefs"sv};

template <typename List>
bool contains(const List &list, QByteArrayView type)
{
    const std::string_view text(type.data(), size_t(type.size()));
    return std::find(list.begin(), list.end(), text) != list.end();
}

bool isSkippedType(QByteArrayView type)
{
    return type.startsWith("fuse.") || contains(skippedTypes, type);
}

} // namespace

bool isListedFileSystem(const MountEntry &mount)
{
    if (!mount.source.startsWith("/dev/") || isSkippedType(mount.fsType))
        return false;
    return mount.major != 0 || contains(anonymousDeviceTypes, mount.fsType);
}

bool isZfsDataset(const MountEntry &mount)
{
    return mount.fsType == "zfs" && !mount.source.isEmpty() && !mount.source.contains('@');
}
