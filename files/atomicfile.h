#pragma once

#include <QByteArrayView>
#include <QString>

// Writes bytes through a temporary file in the same folder that then replaces
// path, and syncs the file and the folder: a full disk, a crash or a power cut
// leaves either the old file or the new one, never a part. Symbolic links are
// followed to the file they name (at most 40 in a chain). An existing target
// keeps its permissions, owner and group; a save that would change its owner
// is refused, and so is a target that is not a regular file (a FIFO, a device,
// a folder) or that this process may not write. On failure the old file is as
// it was (unless only the folder's sync failed, which the message says), no
// temporary file is left and *error (when given) says why in one line, such
// as "No space left on device". SIGXFSZ is ignored from the first call on, so
// that a file size limit fails the save instead of killing the process.
bool writeFileAtomically(const QString &path, QByteArrayView bytes, QString *error = nullptr);
