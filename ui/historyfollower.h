#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class DiskInfo;
class MainWindow;

// Follows the history file the window shows: readings that another writer
// (the recorder's timer, say) adds to it are taken in within seconds, merged
// by reading id, without a question and without marking anything unsaved;
// the window's own unsaved readings stay. When the file stops reading as a
// history, the window keeps its readings and says so in its status bar.
//
// The folder is watched as well as the file: an atomic replace gives the
// file a new inode, which a watch on the file alone loses.
class HistoryFollower : public QObject
{
    Q_OBJECT
public:
    // Follows each history the window reads or saves.
    explicit HistoryFollower(MainWindow *window);

    // Follows the file at path from now on; an empty path follows none.
    void follow(const QString &path);

private:
    void changed();
    void takeNewReadings();
    void taken(const QString &path, qsizetype added);
    void failed(const QString &path, const QString &reason);
    void tell(const QString &message, bool broken = false);

    MainWindow *m_window;
    DiskInfo *m_store;
    QFileSystemWatcher m_watcher;
    QTimer m_settle; // a writer's several steps are taken in once
    QString m_path;
    std::optional<QByteArray> m_stamp; // the content last tried
    bool m_broken = false;             // the status bar says the file does not read
};
