#pragma once

#include "mountentry.h"

// Whether a mount belongs in the listing: a local filesystem on a block device
// whose size can be read without any risk of blocking. That is a source under
// /dev/ with a real device number (btrfs and bcachefs report an anonymous one,
// major 0, so for them the /dev/ source suffices), and not a type that is
// networked, served by a FUSE daemon, or a read-only image that never grows.
bool isListedFileSystem(const MountEntry &mount);

// Whether a mount is a ZFS dataset (its source is "pool/dataset"); snapshots
// ("pool/dataset@name") never grow and are not.
bool isZfsDataset(const MountEntry &mount);
