#include "systemfilesystemlookup.h"

#include "blkidprobe.h"
#include "mountid.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

// The block device's number: the source's own when it exists (btrfs reports
// an anonymous number in the mount table), else the mount table's.
std::optional<quint64> blockDevice(const MountEntry &mount)
{
    struct stat info;
    if (stat(mount.source.constData(), &info) == 0 && S_ISBLK(info.st_mode))
        return info.st_rdev;
    if (mount.major == 0)
        return std::nullopt;
    return makedev(mount.major, mount.minor);
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

SystemFileSystemLookup::SystemFileSystemLookup(const QByteArray &byUuid, const QByteArray &byLabel)
    : m_byUuid(byUuid), m_byLabel(byLabel)
{}

// The mount point is opened once and both questions go to that open file, so
// the answer belongs to the mount that was checked.
std::optional<SpaceUsage> SystemFileSystemLookup::spaceUsage(const MountEntry &mount,
                                                             QString *error)
{
    const FileDescriptor fd(open(mount.mountPoint.constData(), O_PATH | O_CLOEXEC));
    struct statvfs info;
    if (fd.get() < 0 || fstatvfs(fd.get(), &info) != 0) {
        *error = qt_error_string(errno);
        return std::nullopt;
    }
    const auto mountId = mountIdOf(fd.get());
    if (mountId && *mountId != quint64(mount.mountId)) {
        *error = u"covered by another mount"_s;
        return std::nullopt;
    }
    return SpaceUsage{info.f_blocks, info.f_bfree, info.f_bavail, info.f_frsize, info.f_fsid};
}

FileSystemIds SystemFileSystemLookup::ids(const MountEntry &mount)
{
    if (const auto device = blockDevice(mount)) {
        if (const auto uuid = m_byUuid.nameOf(*device))
            return {*uuid, m_byLabel.nameOf(*device).value_or(QString())};
    }
    return probeFileSystemIds(mount.source);
}
