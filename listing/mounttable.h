#pragma once

#include "mountentry.h"

#include <QByteArrayView>
#include <QList>

// The entries of a mountinfo text in table order. Lines without the kernel's
// layout (id, parent, major:minor, root, mount point, options, optional
// fields, "-", type, source, super options) are skipped.
QList<MountEntry> parseMountTable(QByteArrayView text);

// Undoes the kernel's three-digit octal escapes (\040 for a space, \011, \012,
// \134); a backslash that starts no such escape stays as it is.
QByteArray unescapeMountField(QByteArrayView field);
