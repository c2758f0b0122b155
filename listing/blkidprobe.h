#pragma once

#include "filesystemlookup.h"

#include <QByteArray>

// The UUID and LABEL that libblkid reads from the superblock of a block
// device, for machines without udev's /dev/disk links. Needs read access to
// the device; empty when it has none, or when built without libblkid.
FileSystemIds probeFileSystemIds(const QByteArray &devicePath);
