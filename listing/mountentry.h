#pragma once

#include <QByteArray>

// One line of the kernel's mount table (/proc/self/mountinfo), escapes undone.
// Paths stay raw bytes: they go back to the kernel unchanged and are decoded
// for people only when written out.
struct MountEntry {
    int mountId = 0;
    int parentId = 0;
    quint32 major = 0;
    quint32 minor = 0;
    QByteArray root; // the folder of the filesystem that is mounted here
    QByteArray mountPoint;
    QByteArray fsType;
    QByteArray source;

    // The device number as the kernel reports it for the mounted filesystem;
    // every mount of one filesystem (bind mounts, btrfs subvolumes) shares it.
    quint64 deviceKey() const { return (quint64(major) << 32) | minor; }

    friend bool operator==(const MountEntry &, const MountEntry &) = default;
};
