#include "localfiles.h"

#include "atomicfile.h"
#include "csvtext.h"
#include "historyfile.h"
#include "historylock.h"

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

std::unique_ptr<HistoryGuard> LocalFiles::lockHistory(const QString &path, QString *error)
{
    if (!m_lockHistories)
        return std::make_unique<HistoryGuard>();
    auto guard = std::make_unique<LockGuard>(path);
    if (guard->lock.lock() == HistoryLock::Outcome::Locked)
        return guard;
    if (error)
        *error = guard->lock.errorString();
    return nullptr;
}
