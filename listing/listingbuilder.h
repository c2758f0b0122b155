#pragma once

#include "filesystemlookup.h"
#include "listingrecords.h"
#include "mountentry.h"
#include "zfspools.h"

#include <QList>
#include <QStringList>

// Turns the mount table into the listing: one container per listed filesystem
// (see isListedFileSystem), in the order of its first mount, with one volume.
// The mounts of one filesystem (bind mounts, btrfs subvolumes) share the
// kernel's device number and become one container; the first mount that can
// be measured gives its sizes and, without a label, its volume name. ZFS
// datasets are volumes of one container per pool (see ZfsPools).
class ListingBuilder
{
public:
    explicit ListingBuilder(FileSystemLookup &lookup) : m_lookup(lookup) {}

    TopLevel build(const QList<MountEntry> &mounts);
    // Why filesystems were left out of the last build, one line each.
    QStringList warnings() const { return m_warnings; }

    // The container UUID: the filesystem UUID as blkid writes it (the text in
    // /dev/disk/by-uuid and /etc/fstab), else one made from f_fsid, else from
    // the device number.
    static QString containerId(const FileSystemIds &ids, const SpaceUsage &usage,
                               const MountEntry &mount);

private:
    std::optional<APFSInfo> container(const QList<MountEntry> &mounts);
    void addDataset(QList<APFSInfo> &containers, const QList<MountEntry> &mounts);
    struct Measured {
        MountEntry mount;
        SpaceUsage usage;
        ByteSizes sizes;
    };
    // The first mount that can be measured, with its sizes; nothing, with
    // warnings, when none can or its sizes are out of range.
    std::optional<Measured> measure(const QList<MountEntry> &mounts);
    void makeIdsUnique(QList<APFSInfo> &containers) const;

    FileSystemLookup &m_lookup;
    QStringList m_warnings;
    ZfsPools m_pools;
};
