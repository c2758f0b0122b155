#pragma once

#include <QString>

#include <sys/types.h>

// The system's one-line text for an errno value, as strerror gives it ("No
// space left on device").
QString errnoText(int code);

// Why a file of this type (a stat st_mode) is neither read as a history nor
// replaced by a save: "a FIFO, not a regular file". Empty for a regular file.
QString notRegularFile(mode_t mode);
