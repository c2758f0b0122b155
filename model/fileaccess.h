#pragma once

#include "containerexport.h"
#include "datapoint.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// Held while a save reads again, merges and writes a history, so that no
// other writer (a scheduled record, say) changes the file in between.
class HistoryGuard
{
public:
    virtual ~HistoryGuard() = default;
};

// The store's files: the history file it reads and saves, and the CSV export.
// Behind an interface so that the store knows no file format. On failure
// *error says why in one line.
class FileAccess
{
public:
    virtual ~FileAccess() = default;
    virtual std::optional<QList<DataPoint>> readHistory(const QString &path, QString *error) = 0;
    virtual bool writeHistory(const QString &path, const QList<DataPoint> &history,
                              QString *error) = 0;
    // Fails, writing nothing, when a number or date of the rows cannot be
    // written truthfully.
    virtual bool writeCsv(const QString &path, const ContainerExport &rows, QString *error) = 0;
    // Nothing, with *error set, when the lock cannot be had; *busy then says
    // whether another writer kept it. Files no one else writes need no lock.
    virtual std::unique_ptr<HistoryGuard> lockHistory(const QString &path, QString *error,
                                                      bool *busy)
    {
        Q_UNUSED(path);
        Q_UNUSED(error);
        Q_UNUSED(busy);
        return std::make_unique<HistoryGuard>();
    }
    // Nothing when no file can be seen at path; otherwise what identifies its
    // present content cheaply, changing whenever it is written or replaced
    // (empty when that cannot be told: the file is then read again).
    virtual std::optional<QByteArray> historyStamp(const QString &path) = 0;
};
