#pragma once

#include <QStringList>
#include <QTextStream>

// quillbank-cli: the headless front over the same store the app uses.
// Returns the process exit status.
int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err);
