#include "historyfollower.h"

#include "DiskInfo.h"
#include "contentview.h"
#include "mainwindow.h"

#include <QFileInfo>
#include <QStatusBar>

namespace {

// A writer's lock, temporary file and rename come within milliseconds; the
// readings appear well within the five seconds a person waits.
constexpr int settleMilliseconds = 300;

} // namespace

HistoryFollower::HistoryFollower(MainWindow *window)
    : QObject(window), m_window(window), m_store(window->contentView()->theDiskInfo())
{
    connect(m_store, &DiskInfo::historyRead, this, &HistoryFollower::follow);
    connect(m_store, &DiskInfo::historySaved, this, &HistoryFollower::follow);
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &HistoryFollower::takeNewReadings);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &HistoryFollower::changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &HistoryFollower::changed);
    connect(m_store, &DiskInfo::newReadingsTaken, this, &HistoryFollower::taken);
    connect(m_store, &DiskInfo::newReadingsFailed, this, &HistoryFollower::failed);
}

void HistoryFollower::follow(const QString &path)
{
    if (path == m_path)
        return;
    if (const QStringList watched = m_watcher.files() + m_watcher.directories(); !watched.isEmpty())
        m_watcher.removePaths(watched);
    m_path = path;
    m_stamp.reset();
    if (path.isEmpty())
        return;
    m_watcher.addPath(QFileInfo(path).absolutePath());
    m_watcher.addPath(path);
}

void HistoryFollower::changed()
{
    // A replaced file is a new one: watch it again.
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    m_settle.start();
}

void HistoryFollower::takeNewReadings()
{
    // The folder also changes for the lock and other files, and for the
    // window's own saves: a file whose content the history already holds, or
    // that was tried as it is now, is not read again.
    const std::optional<QByteArray> stamp = m_store->historyStamp(m_path);
    if (stamp && !stamp->isEmpty() && (stamp == m_stamp || m_store->holdsAllOf(m_path, *stamp)))
        return;
    m_stamp = stamp;
    m_store->takeNewReadings(m_path);
}

void HistoryFollower::failed(const QString &path, const QString &reason)
{
    if (path == m_path)
        tell(tr("%1 no longer reads as a history (%2); the window keeps its readings.")
                 .arg(QFileInfo(path).fileName(), reason),
             true);
}

void HistoryFollower::taken(const QString &path, qsizetype added)
{
    if (path != m_path)
        return;
    if (added > 0) {
        tell(tr("%n new reading(s) from %1", nullptr, int(added)).arg(QFileInfo(path).fileName()));
        ContentView *content = m_window->contentView();
        content->showHistory(content->selectedConUUID());
    } else if (m_broken) {
        tell({});
    }
}

void HistoryFollower::tell(const QString &message, bool broken)
{
    m_broken = broken;
    m_window->statusBar()->showMessage(message);
}
