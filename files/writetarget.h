#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/stat.h>

// Where a save of a path writes: the file a chain of symbolic links ends at
// (at most 40 links), found one name at a time from an open folder. A link is
// followed only when it belongs to this process's user or to root, so that a
// link another user planted cannot steer a save (root's above all) to a file
// of their choosing. The folder stays open: the save writes and renames in the
// folder found here, whatever is renamed or swapped along the path meanwhile.
// A dangling last link names the file the save makes.
class WriteTarget
{
public:
    WriteTarget() = default;
    ~WriteTarget();
    WriteTarget(const WriteTarget &) = delete;
    WriteTarget &operator=(const WriteTarget &) = delete;

    // False, with *error the reason in one line, when path cannot be followed.
    bool resolve(const QByteArray &path, QString *error);

    int folder() const { return m_folder; }
    const QByteArray &name() const { return m_name; }
    // The file's status when it exists (lstat: never a link).
    const std::optional<struct stat> &existing() const { return m_existing; }
    // The file's path as followed, for messages and for files kept beside it.
    QByteArray path() const;

private:
    bool startAt(const QByteArray &path, QString *error);
    bool enter(const QByteArray &name, QString *error);
    bool follow(const QByteArray &name, const struct stat &link, QByteArrayList &pending,
                QString *error);

    int m_folder = -1;
    QByteArray m_folderPath; // empty: the current folder
    QByteArray m_name;
    std::optional<struct stat> m_existing;
    int m_links = 0;
};
