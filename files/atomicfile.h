#pragma once

#include <QByteArrayView>
#include <QString>

// Whether a save also removes the hidden temporary files that earlier saves
// of the same file left behind (a writer killed mid-save leaves one). Only for
// a caller that keeps every other writer of the file out meanwhile, as the
// history's lock does: another writer's temporary file may be in use.
enum class Leftovers { Keep, Remove };

// Writes bytes through a temporary file in the same folder that then replaces
// path, and syncs the file and the folder: a full disk, a crash or a power cut
// leaves either the old file or the new one, never a part. Symbolic links are
// followed as WriteTarget says: only those of this user or of root, and the
// folder found is the one written in. An existing target keeps its
// permissions, owner and group; a save that would change its owner is
// refused, and so is a target that is not a regular file (a FIFO, a device, a
// folder) or that this process may not write. On failure the old file is as
// it was (unless only the folder's sync failed, which the message says), no
// temporary file is left and *error (when given) says why in one line, such
// as "No space left on device". SIGXFSZ is ignored from the first call on, so
// that a file size limit fails the save instead of killing the process.
bool writeFileAtomically(const QString &path, QByteArrayView bytes, QString *error = nullptr,
                         Leftovers leftovers = Leftovers::Keep);

// The file a save of path replaces, links followed as a save follows them;
// path itself when they cannot be.
QString writeTargetPath(const QString &path);

// Removes the temporary file of the save in progress, if any: for a signal
// handler that ends the process. Async-signal-safe.
void abandonTemporaryFile();
