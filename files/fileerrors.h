#pragma once

#include <QString>

#include <sys/types.h>

// Puts reason in *error when the caller asked for one, and returns what the
// caller returns on failure: false, or an empty optional.
template <typename Result = bool>
Result failed(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return Result{};
}

// Why a file of this type (a stat st_mode) is neither read as a history nor
// replaced by a save: "a FIFO, not a regular file". Empty for a regular file.
QString notRegularFile(mode_t mode);
