#pragma once

#include <QStringList>
#include <QTextStream>

// record HISTORY [--probe PROGRAM]: one reading, appended to the history file
// (made when absent), which is replaced atomically. On any failure the file
// is left exactly as it was.
int recordCommand(const QStringList &words, QTextStream &out, QTextStream &err);
