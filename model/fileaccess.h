#pragma once

#include "containerexport.h"
#include "datapoint.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// Held while a save reads, merges and writes a history, so that no other
// writer (a scheduled record, say) changes the file in between.
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
    // Nothing, with *error set, when another writer keeps the history locked.
    // Files that no one else writes need no lock.
    virtual std::unique_ptr<HistoryGuard> lockHistory(const QString &path, QString *error)
    {
        Q_UNUSED(path);
        Q_UNUSED(error);
        return std::make_unique<HistoryGuard>();
    }
};
