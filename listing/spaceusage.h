#pragma once

#include <QtGlobal>

#include <optional>

// What statvfs reports for one filesystem, in its own units.
struct SpaceUsage {
    quint64 blocks = 0;          // f_blocks
    quint64 freeBlocks = 0;      // f_bfree, including the blocks kept for root
    quint64 availableBlocks = 0; // f_bavail, what an ordinary user can still write
    quint64 fragmentSize = 0;    // f_frsize, the unit of the three counts
    quint64 fsid = 0;            // f_fsid

    friend bool operator==(const SpaceUsage &, const SpaceUsage &) = default;
};

struct ByteSizes {
    qint64 capacity = 0;
    qint64 available = 0;
    qint64 inUse = 0; // every block not free, the reserved ones counted as used

    friend bool operator==(const ByteSizes &, const ByteSizes &) = default;
};

// The sizes in bytes; nothing when a product does not fit int64 or more
// blocks are free than exist (a filesystem reporting nonsense is left out
// rather than recorded with made-up numbers).
std::optional<ByteSizes> byteSizes(const SpaceUsage &usage);
