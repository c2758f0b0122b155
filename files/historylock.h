#pragma once

#include <QLockFile>
#include <QString>

#include <chrono>

// How long a second writer of a history waits for the first.
inline constexpr std::chrono::milliseconds historyLockWait{10000};

// The lock every writer of a history holds for its whole read-append-write,
// so that two writers never both rewrite the file from what they read: a
// QLockFile beside the file (HISTORY.lock, beside the file a symbolic link
// names, when a save would follow the link). A lock file that names no live
// holder is taken over at once: one whose process has died, and one left
// empty or unreadable by a process killed while making it. A live holder
// keeps it however long it runs. Released when this object goes.
class HistoryLock
{
public:
    explicit HistoryLock(const QString &historyPath);

    enum class Outcome {
        Locked,
        Busy,   // another process held it for the whole wait
        Failed, // the lock file cannot be made (a read-only folder, say)
    };
    Outcome lock(std::chrono::milliseconds wait = historyLockWait);
    // Why lock() did not lock, in one line naming the file and either the
    // system's reason or, when busy, the holder's pid.
    QString errorString() const { return m_error; }

    static QString lockPath(const QString &historyPath);

private:
    bool removeIfStale();
    bool namesNoHolder() const;
    QString cannotMake(int code) const;
    QString busy(std::chrono::milliseconds wait) const;

    QString m_history;
    QLockFile m_lock;
    QString m_error;
};
