#include "localfiles.h"

#include "atomicfile.h"
#include "csvtext.h"
#include "historyfile.h"
#include "historylock.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace {

class LockGuard : public HistoryGuard
{
public:
    explicit LockGuard(const QString &path) : lock(path) {}
    HistoryLock lock;
};

} // namespace

std::optional<QList<DataPoint>> LocalFiles::readHistory(const QString &path, QString *error)
{
    return readHistoryFile(path, error);
}

bool LocalFiles::writeHistory(const QString &path, const QList<DataPoint> &history, QString *error)
{
    return writeHistoryFile(path, history, error);
}

bool LocalFiles::writeCsv(const QString &path, const ContainerExport &rows, QString *error)
{
    const std::optional<QByteArray> text = csvText(rows);
    if (!text) {
        if (error)
            *error = rows.whyInexact();
        return false;
    }
    return writeFileAtomically(path, *text, error);
}

std::unique_ptr<HistoryGuard> LocalFiles::lockHistory(const QString &path, QString *error,
                                                      bool *busy)
{
    auto guard = std::make_unique<LockGuard>(path);
    const HistoryLock::Outcome outcome = guard->lock.lock();
    if (outcome == HistoryLock::Outcome::Locked)
        return guard;
    if (error)
        *error = guard->lock.errorString();
    if (busy)
        *busy = outcome == HistoryLock::Outcome::Busy;
    return nullptr;
}

// Device, inode, size and times: an atomic replace changes the inode, a
// write in place the size or the times. What cannot even be looked at (a
// link loop, a folder not searchable) counts as absent: writing it then
// fails with its own reason.
std::optional<QByteArray> LocalFiles::historyStamp(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    const QFileInfo info(path);
    const qint64 fields[] = {qint64(st.st_dev), qint64(st.st_ino), qint64(st.st_size),
                             info.lastModified().toMSecsSinceEpoch(),
                             info.metadataChangeTime().toMSecsSinceEpoch()};
    return QByteArray(reinterpret_cast<const char *>(fields), sizeof fields);
}
