#pragma once

#include <QStringList>
#include <QTextStream>

// quillbank-cli: the headless front over the same store the app uses.
// Returns the process exit status.
int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err);

// runCli on the process's standard output and error. Output that cannot be
// written (a full disk, a closed file) is a failure, never a silent success.
int runCliOnStandardStreams(const QStringList &arguments);
