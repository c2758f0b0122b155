#pragma once

#include <QString>
#include <QTextStream>

class DiskInfo;

// Reads a history file into the store as Read JSON does: the history is
// replaced and containerData rebuilt. On failure says why on err (naming the
// file) and leaves the store as it was.
bool loadHistory(const QString &path, DiskInfo &store, QTextStream &err);
