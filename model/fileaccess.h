#pragma once

#include "containerexport.h"
#include "datapoint.h"

#include <QList>
#include <QString>

#include <optional>

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
};
