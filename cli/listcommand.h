#pragma once

#include <QStringList>
#include <QTextStream>

// list [--probe PROGRAM]: one reading, one line per container.
int listCommand(const QStringList &words, QTextStream &out, QTextStream &err);
