#include "atomicfile.h"

#include "fileerrors.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

// POSIX calls rather than QSaveFile: QSaveFile renames over a FIFO or a device
// as over any file, gives the new file this process's owner, and reports some
// failures (a full disk among them) as "Unknown error".

namespace {

// Links followed before a chain counts as a loop, as in the kernel's lookup.
constexpr int maxLinks = 40;
// Names tried for the temporary file before giving up.
constexpr int temporaryNames = 16;
// One write() moves at most about 2 GB on Linux.
constexpr size_t maxChunk = size_t(1) << 30;

// What a save replaces: the path a chain of links ends at, and the file's
// status when it exists.
struct Target {
    QByteArray path;
    std::optional<struct stat> existing;
};

// A file size limit then fails write() with EFBIG instead of killing us.
void ignoreFileSizeSignal()
{
    static const bool once = [] {
        struct sigaction current {};
        if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)once;
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// Where the link at path points; a relative target is taken from its folder.
bool followLink(QByteArray &path, QString *error)
{
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t length = readlink(path.constData(), target.data(), size_t(target.size()));
    if (length < 0)
        return failed(error, qt_error_string(errno));
    if (length >= target.size())
        return failed(error, qt_error_string(ENAMETOOLONG));
    target.truncate(length);
    path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    return true;
}

// A dangling last link names the file the save makes.
bool resolve(QByteArray path, Target &target, QString *error)
{
    for (int links = 0; links <= maxLinks; ++links) {
        struct stat status {};
        const bool exists = lstat(path.constData(), &status) == 0;
        if (!exists && errno != ENOENT)
            return failed(error, qt_error_string(errno));
        if (!exists || !S_ISLNK(status.st_mode)) {
            target.path = path;
            if (exists)
                target.existing = status;
            return true;
        }
        if (!followLink(path, error))
            return false;
    }
    return failed(error, qt_error_string(ELOOP));
}

// Only a regular file is replaced, and not one that is read-only to us: the
// rename would ignore its permissions.
bool isReplaceable(const Target &target, QString *error)
{
    if (!S_ISREG(target.existing->st_mode))
        return failed(error, notRegularFile(target.existing->st_mode));
    if (faccessat(AT_FDCWD, target.path.constData(), W_OK, AT_EACCESS) != 0)
        return failed(error, qt_error_string(errno));
    return true;
}

// Keeps the replaced file's permissions and, where this process may set them,
// its owner and group. A file whose owner would change is not replaced: its
// owner could no longer read it.
QString keepOwnerAndMode(int fd, const struct stat &old)
{
    struct stat now {};
    if (fstat(fd, &now) != 0)
        return qt_error_string(errno);
    const bool sameOwner = now.st_uid == old.st_uid;
    if ((!sameOwner || now.st_gid != old.st_gid) && fchown(fd, old.st_uid, old.st_gid) != 0 &&
        !sameOwner)
        return QStringLiteral("cannot keep the file's owner (user %1): %2")
            .arg(old.st_uid)
            .arg(qt_error_string(errno));
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    if (fchmod(fd, old.st_mode & 07777) != 0)
        return qt_error_string(errno);
    return {};
}

// errno of the write that failed; 0 when every byte is written.
int writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    for (size_t left = size_t(bytes.size()); left > 0;) {
        const ssize_t written = ::write(fd, data, std::min(left, maxChunk));
        if (written < 0 && errno != EINTR)
            return errno;
        if (written == 0)
            return ENOSPC;
        if (written > 0) {
            data += written;
            left -= size_t(written);
        }
    }
    return 0;
}

// The temporary file's contents, owner and mode, synced; empty when all went well.
QString fill(int fd, QByteArrayView bytes, const std::optional<struct stat> &existing)
{
    if (existing) {
        const QString reason = keepOwnerAndMode(fd, *existing);
        if (!reason.isEmpty())
            return reason;
    }
    if (const int code = writeAll(fd, bytes))
        return qt_error_string(code);
    return fsync(fd) == 0 ? QString() : qt_error_string(errno);
}

// A new, hidden file beside the target; -1 with errno set when none can be made.
int createTemporary(int folder, const QByteArray &name, mode_t mode, QByteArray &temporary)
{
    for (int attempt = 0; attempt < temporaryNames; ++attempt) {
        const quint32 random = QRandomGenerator::global()->generate();
        temporary = '.' + name + '.' + QByteArray::number(random, 36);
        const int fd = openat(folder, temporary.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool replaceIn(int folder, const Target &target, QByteArrayView bytes, QString *error)
{
    const QByteArray name = nameOf(target.path);
    QByteArray temporary;
    // Private until it has the old file's mode; a new file gets the umask's.
    const int fd = createTemporary(folder, name, target.existing ? 0600 : 0666, temporary);
    if (fd < 0)
        return failed(error, qt_error_string(errno));
    QString reason = fill(fd, bytes, target.existing);
    if (::close(fd) != 0 && reason.isEmpty())
        reason = qt_error_string(errno);
    if (reason.isEmpty() && renameat(folder, temporary.constData(), folder, name.constData()) != 0)
        reason = qt_error_string(errno);
    if (!reason.isEmpty()) {
        unlinkat(folder, temporary.constData(), 0);
        return failed(error, reason);
    }
    // Until the folder is synced a power cut can undo the rename. Some file
    // systems cannot sync a folder at all (EINVAL).
    if (fsync(folder) != 0 && errno != EINVAL)
        return failed(error,
                      u"replaced, but the folder could not be synced: " + qt_error_string(errno));
    return true;
}

} // namespace

bool writeFileAtomically(const QString &path, QByteArrayView bytes, QString *error)
{
    ignoreFileSizeSignal();
    Target target;
    if (!resolve(QFile::encodeName(path), target, error))
        return false;
    if (target.existing && !isReplaceable(target, error))
        return false;
    const QByteArray folderPath = folderOf(target.path);
    const int folder = ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return failed(error, qt_error_string(errno));
    const bool replaced = replaceIn(folder, target, bytes, error);
    ::close(folder);
    return replaced;
}
