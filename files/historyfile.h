#pragma once

#include "datapoint.h"

#include <QList>
#include <QString>

#include <optional>

// Reads a whole history file and decodes it; the file's bytes are gone again
// when this returns. Only a regular file is read: a FIFO, a device or a folder
// is refused at once, with "a FIFO, not a regular file" and the like. On
// failure *error (when given) says why, in one line.
std::optional<QList<DataPoint>> readHistoryFile(const QString &path, QString *error = nullptr);

// Encodes the history and replaces the file at path atomically.
bool writeHistoryFile(const QString &path, const QList<DataPoint> &history,
                      QString *error = nullptr);
