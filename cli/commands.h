#pragma once

#include "commandline.h"
#include "listingprobe.h"

#include <optional>

class CliStore;

// The commands of quillbank-cli, each in its own file.
Command listCommand();
Command recordCommand();
Command reportCommand();
Command csvCommand();
Command checkCommand();
Command metricsCommand();

// --probe PROGRAM and --timeout SECONDS, shared by the commands that take a
// reading.
QCommandLineOption probeOption();
QCommandLineOption timeoutOption();
std::optional<QString> probeProgram(const CommandLine &line);
// The listing tool's limits; nothing, with *error set, for a timeout that is
// not a positive number of seconds.
std::optional<ProbeLimits> probeLimits(const CommandLine &line, QString *error);

// The history a command reads or writes: its HISTORY argument when given,
// else the per-user one, whose folder `record` makes when needed.
QString defaultHistory();
QString historyArgument(const CommandLine &line);

// Prints the one line "quillbank-cli: reason" and returns status.
int fail(QTextStream &err, const QString &reason, int status);

// Reads the history at path into history; when it cannot be read, prints the
// one line that says why and returns its exit status. ExitOk once read.
int readHistoryOrFail(CliStore &history, const QString &path, QTextStream &err);

// The one line for a container that a history does not hold.
QString noSuchContainer(const QString &conUUID);
