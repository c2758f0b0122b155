#include "atomicfile.h"

#include "fileerrors.h"
#include "writetarget.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

// POSIX calls rather than QSaveFile: QSaveFile renames over a FIFO or a device
// as over any file, gives the new file this process's owner, and reports some
// failures (a full disk among them) as "Unknown error".

namespace {

// Names tried for the temporary file before giving up.
constexpr int temporaryNames = 16;
// One write() moves at most about 2 GB on Linux.
constexpr size_t maxChunk = size_t(1) << 30;
// A temporary file is named ".NAME.tmp" and this many base-36 digits.
constexpr qsizetype temporaryDigits = 7;

// The temporary file of the save in progress, for abandonTemporaryFile():
// its folder (-1: none) and its name.
std::atomic<int> pendingFolder{-1};
char pendingName[NAME_MAX + 1];
static_assert(std::atomic<int>::is_always_lock_free);

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

QByteArray temporaryPrefix(const QByteArray &name)
{
    return '.' + name + ".tmp";
}

QByteArray temporaryName(const QByteArray &name, quint32 random)
{
    return temporaryPrefix(name) +
           QByteArray::number(random, 36).rightJustified(temporaryDigits, '0');
}

bool isTemporaryName(QByteArrayView entry, const QByteArray &name)
{
    const QByteArray prefix = temporaryPrefix(name);
    if (entry.size() != prefix.size() + temporaryDigits || !entry.startsWith(prefix))
        return false;
    const QByteArrayView digits = entry.sliced(prefix.size());
    return std::all_of(digits.begin(), digits.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}

// Removes the regular files with name's temporary names from the folder.
void removeLeftovers(int folder, const QByteArray &name)
{
    const int reading = dup(folder);
    DIR *entries = reading < 0 ? nullptr : fdopendir(reading);
    if (!entries) {
        if (reading >= 0)
            ::close(reading);
        return;
    }
    while (const dirent *entry = readdir(entries)) {
        struct stat status {};
        if (isTemporaryName(entry->d_name, name) &&
            fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode))
            unlinkat(folder, entry->d_name, 0);
    }
    closedir(entries);
}

void rememberTemporary(int folder, const QByteArray &temporary)
{
    if (size_t(temporary.size()) >= sizeof pendingName)
        return;
    pendingFolder.store(-1);
    std::memcpy(pendingName, temporary.constData(), size_t(temporary.size()) + 1);
    pendingFolder.store(folder);
}

// Only a regular file is replaced, and not one that is read-only to us: the
// rename would ignore its permissions.
bool isReplaceable(const WriteTarget &target, QString *error)
{
    if (!S_ISREG(target.existing()->st_mode))
        return failed(error, notRegularFile(target.existing()->st_mode));
    if (faccessat(target.folder(), target.name().constData(), W_OK, AT_EACCESS) != 0)
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
// It is remembered before it exists, so that no signal finds it unnamed.
int createTemporary(int folder, const QByteArray &name, mode_t mode, QByteArray &temporary)
{
    for (int attempt = 0; attempt < temporaryNames; ++attempt) {
        temporary = temporaryName(name, QRandomGenerator::global()->generate());
        rememberTemporary(folder, temporary);
        const int fd = openat(folder, temporary.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool replaceIn(const WriteTarget &target, QByteArrayView bytes, QString *error)
{
    const int folder = target.folder();
    const QByteArray &name = target.name();
    QByteArray temporary;
    // Private until it has the old file's mode; a new file gets the umask's.
    const int fd = createTemporary(folder, name, target.existing() ? 0600 : 0666, temporary);
    QString reason = fd < 0 ? qt_error_string(errno) : fill(fd, bytes, target.existing());
    if (fd >= 0 && ::close(fd) != 0 && reason.isEmpty())
        reason = qt_error_string(errno);
    if (reason.isEmpty() && renameat(folder, temporary.constData(), folder, name.constData()) != 0)
        reason = qt_error_string(errno);
    if (fd >= 0 && !reason.isEmpty())
        unlinkat(folder, temporary.constData(), 0);
    pendingFolder.store(-1);
    if (!reason.isEmpty())
        return failed(error, reason);
    // Until the folder is synced a power cut can undo the rename. Some file
    // systems cannot sync a folder at all (EINVAL).
    if (fsync(folder) != 0 && errno != EINVAL)
        return failed(error,
                      u"replaced, but the folder could not be synced: " + qt_error_string(errno));
    return true;
}

} // namespace

bool writeFileAtomically(const QString &path, QByteArrayView bytes, QString *error,
                         Leftovers leftovers)
{
    ignoreFileSizeSignal();
    WriteTarget target;
    if (!target.resolve(QFile::encodeName(path), error))
        return false;
    if (target.existing() && !isReplaceable(target, error))
        return false;
    if (leftovers == Leftovers::Remove)
        removeLeftovers(target.folder(), target.name());
    return replaceIn(target, bytes, error);
}

QString writeTargetPath(const QString &path)
{
    WriteTarget target;
    return target.resolve(QFile::encodeName(path), nullptr) ? QFile::decodeName(target.path())
                                                            : path;
}

void abandonTemporaryFile()
{
    const int folder = pendingFolder.load();
    if (folder >= 0)
        unlinkat(folder, pendingName, 0);
}
