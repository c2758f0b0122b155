#include "historylock.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <thread>

using namespace std::chrono;

namespace {

// Short, jittered retries: QLockFile's own wait backs off to seconds, which
// starves a writer among many that each hold the lock for a moment.
milliseconds retryPause()
{
    return milliseconds(10 + QRandomGenerator::global()->bounded(20));
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
    const QString target = QFileInfo(historyPath).canonicalFilePath();
    return (target.isEmpty() ? historyPath : target) + QStringLiteral(".lock");
}

HistoryLock::Outcome HistoryLock::lock(milliseconds wait)
{
    const auto deadline = steady_clock::now() + wait;
    m_error.clear();
    while (!m_lock.tryLock(0)) {
        if (m_lock.error() != QLockFile::LockFailedError) {
            m_error = cannotMake();
            return Outcome::Failed;
        }
        if (steady_clock::now() >= deadline) {
            m_error = busy(wait);
            return Outcome::Busy;
        }
        std::this_thread::sleep_for(retryPause());
    }
    return Outcome::Locked;
}

// QLockFile tells only "permission" or "unknown": a missing folder is the
// other common cause, and worth naming.
QString HistoryLock::cannotMake() const
{
    const QString reason = m_lock.error() == QLockFile::PermissionError
                               ? QStringLiteral("Permission denied")
                           : !QFileInfo(QFileInfo(m_lock.fileName()).absolutePath()).isDir()
                               ? QStringLiteral("No such file or directory")
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
