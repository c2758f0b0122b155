#include "historylock.h"

#include "atomicfile.h"
#include "fileerrors.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono;

namespace {

// How long a lock file may stay without its holder's pid while it is made.
constexpr seconds makingTime{2};

// Short, jittered retries: QLockFile's own wait backs off to seconds, which
// starves a writer among many that each hold the lock for a moment.
milliseconds retryPause()
{
    return milliseconds(10 + QRandomGenerator::global()->bounded(20));
}

bool isRecent(const struct stat &status)
{
    return qAbs(std::time(nullptr) - status.st_mtime) <= makingTime.count();
}

// Whether path still names the regular file open as fd.
bool stillNames(int fd, const QByteArray &path, struct stat &status)
{
    struct stat named {};
    return fstat(fd, &status) == 0 && lstat(path.constData(), &named) == 0 &&
           S_ISREG(status.st_mode) && status.st_dev == named.st_dev &&
           status.st_ino == named.st_ino;
}

} // namespace

HistoryLock::HistoryLock(const QString &historyPath)
    : m_history(historyPath), m_lock(lockPath(historyPath))
{
    // Only a dead holder makes a lock stale: a reading may take a minute.
    m_lock.setStaleLockTime(0);
}

QString HistoryLock::lockPath(const QString &historyPath)
{
    return writeTargetPath(historyPath) + QStringLiteral(".lock");
}

HistoryLock::Outcome HistoryLock::lock(milliseconds wait)
{
    const auto deadline = steady_clock::now() + wait;
    m_error.clear();
    for (;;) {
        errno = 0;
        if (m_lock.tryLock(0))
            return Outcome::Locked;
        // QLockFile tells only "permission" or "unknown"; errno still holds
        // the reason of the call that failed: the open or the write.
        const int code = errno;
        if (m_lock.error() != QLockFile::LockFailedError) {
            m_error = cannotMake(code);
            return Outcome::Failed;
        }
        if (removeIfStale())
            continue;
        if (steady_clock::now() >= deadline) {
            m_error = busy(wait);
            return Outcome::Busy;
        }
        std::this_thread::sleep_for(retryPause());
    }
}

// QLockFile itself takes over a lock whose pid no longer runs on this host.
// This takes over the rest that name no holder: a file left empty by a
// process killed between making it and writing its pid, or one that holds no
// pid at all. Neither is mistaken for a lock being made: QLockFile's holder
// makes the file, takes flock() on it and only then writes its pid, so a file
// someone holds flock() on is in use however it reads, and an unlocked one
// whose pid is missing for longer than makingTime has lost its maker. Holding
// its flock() ourselves while we check that its name still leads to it keeps
// a lock made meanwhile from being removed. True when the file was removed or
// had gone: then try again at once.
bool HistoryLock::removeIfStale()
{
    const QByteArray path = QFile::encodeName(m_lock.fileName());
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    struct stat status {};
    const bool removed = flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNames(fd, path, status) &&
                         !isRecent(status) && namesNoHolder() && ::unlink(path.constData()) == 0;
    ::close(fd); // and with it our flock()
    return removed;
}

bool HistoryLock::namesNoHolder() const
{
    qint64 pid = 0;
    return !m_lock.getLockInfo(&pid, nullptr, nullptr);
}

QString HistoryLock::cannotMake(int code) const
{
    const QString reason = code != 0 ? qt_error_string(code)
                           : m_lock.error() == QLockFile::PermissionError
                               ? QStringLiteral("Permission denied")
                               : QStringLiteral("unknown error");
    return QStringLiteral("cannot make the lock file %1: %2").arg(m_lock.fileName(), reason);
}

QString HistoryLock::busy(milliseconds wait) const
{
    qint64 pid = 0;
    QString host, app;
    m_lock.getLockInfo(&pid, &host, &app);
    return QStringLiteral("%1 is locked by process %2 (%3); gave up after %4 s")
        .arg(m_history)
        .arg(pid)
        .arg(app.isEmpty() ? QStringLiteral("unknown program") : app)
        .arg(duration<double>(wait).count());
}
