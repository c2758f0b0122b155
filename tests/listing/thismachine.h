#pragma once

#include "mountentry.h"

#include <QString>

#include <optional>

// What the tests that meet the real system need to find or make on it.

// The entry of this process's mount table that "/" leads to: the last one
// listed at "/". Nothing when the table cannot be read.
std::optional<MountEntry> rootMount();

// The path of some block device under /dev; empty when there is none.
QString anyBlockDevice();

// Formats a 4 MiB ext4 image at `path`; false when mkfs.ext4 is missing or fails.
bool makeExt4Image(const QString &path, const QString &label, const QString &uuid);
