#pragma once

#include "datapoint.h"

#include <QList>
#include <QString>

#include <optional>

// Reads a whole history file and decodes it; the file's bytes are gone again
// when this returns. Only a regular file is read: a FIFO, a device or a folder
// is refused at once, with "a FIFO, not a regular file" and the like, and so
// is a file whose first bytes show it is no history. Running out of memory is
// a failure too ("not enough memory to read PATH"). On failure *error (when
// given) says why, in one line.
std::optional<QList<DataPoint>> readHistoryFile(const QString &path, QString *error = nullptr);

// Encodes the history and replaces the file at path atomically, removing the
// temporary files that killed writers of it left: only for a caller that
// holds the history's lock.
bool writeHistoryFile(const QString &path, const QList<DataPoint> &history,
                      QString *error = nullptr);
