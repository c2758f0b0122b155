#pragma once

#include <QStringList>
#include <QTextStream>

// csv HISTORY CONUUID [-o FILE]: the bytes Save Selection As CSV writes for
// that container, to standard output or atomically to FILE.
int csvCommand(const QStringList &words, QTextStream &out, QTextStream &err);
