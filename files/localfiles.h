#pragma once

#include "fileaccess.h"

// The store's files on the local disk: the JSON history and the CSV export,
// each replaced atomically.
class LocalFiles : public FileAccess
{
public:
    // Without locks for a caller that holds the history's lock itself.
    explicit LocalFiles(bool lockHistories = true) : m_lockHistories(lockHistories) {}

    std::optional<QList<DataPoint>> readHistory(const QString &path, QString *error) override;
    bool writeHistory(const QString &path, const QList<DataPoint> &history,
                      QString *error) override;
    bool writeCsv(const QString &path, const ContainerExport &rows, QString *error) override;
    std::unique_ptr<HistoryGuard> lockHistory(const QString &path, QString *error) override;

private:
    bool m_lockHistories;
};
