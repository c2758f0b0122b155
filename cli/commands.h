#pragma once

#include "commandline.h"

#include <optional>

// The commands of quillbank-cli, each in its own file.
Command listCommand();
Command recordCommand();
Command reportCommand();
Command csvCommand();

// --probe PROGRAM, shared by the commands that take a reading.
QCommandLineOption probeOption();
std::optional<QString> probeProgram(const CommandLine &line);

// The one line for a container that a history does not hold.
QString noSuchContainer(const QString &conUUID);
