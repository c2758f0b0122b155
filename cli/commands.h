#pragma once

#include "commandline.h"
#include "listingprobe.h"
#include "trendcrossing.h"

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

// --warn-weeks N and --crit-weeks M, shared by check and record, and the
// thresholds they set (12 and 4 weeks without them); nothing, with *error
// set, for a value that is not a number from 0 on.
QCommandLineOption warnWeeksOption();
QCommandLineOption critWeeksOption();
std::optional<WeekThresholds> weekThresholds(const CommandLine &line, QString *error);
// Reads option `name` into *value when it is set; false, with *error set,
// for a value that is not a number from 0 on (below 10^9).
bool readNumberOption(const CommandLine &line, const QString &name, double *value, QString *error);

// The history a command reads or writes: its HISTORY argument when given,
// else the per-user one (defaulthistory.h), whose folder `record` makes when
// needed.
QString historyArgument(const CommandLine &line);
// Whether the per-user history's folder may be used: it must be absolute,
// and so must HOME, whatever the system's settings make of them; with make,
// it is made when missing. False, with *error naming the folder and the
// reason, when not.
bool defaultHistoryFolder(bool make, QString *error);

// Prints the one line "quillbank-cli: reason" and returns status.
int fail(QTextStream &err, const QString &reason, int status);

// Reads the history at path into history; when it cannot be read, prints the
// one line that says why and returns its exit status. ExitOk once read.
int readHistoryOrFail(CliStore &history, const QString &path, QTextStream &err);

// The one line for a container that a history does not hold.
QString noSuchContainer(const QString &conUUID);
