#pragma once

#include "fileaccess.h"

// The store's files on the local disk: the JSON history and the CSV export,
// each replaced atomically, and the history's lock beside it.
class LocalFiles : public FileAccess
{
public:
    std::optional<QList<DataPoint>> readHistory(const QString &path, QString *error) override;
    bool writeHistory(const QString &path, const QList<DataPoint> &history,
                      QString *error) override;
    bool writeCsv(const QString &path, const ContainerExport &rows, QString *error) override;
    std::unique_ptr<HistoryGuard> lockHistory(const QString &path, QString *error,
                                              bool *busy) override;
    std::optional<QByteArray> historyStamp(const QString &path) override;
};
