#pragma once

#include "mountentry.h"
#include "spaceusage.h"

#include <QString>

#include <optional>

// A filesystem's own identifiers, as blkid reports them; empty when unknown.
struct FileSystemIds {
    QString uuid;
    QString label;

    friend bool operator==(const FileSystemIds &, const FileSystemIds &) = default;
};

// What the listing asks of the system about one mounted filesystem. Behind an
// interface so the mapping can be tested on mount tables of other machines.
class FileSystemLookup
{
public:
    virtual ~FileSystemLookup() = default;
    // statvfs of the mount point; nothing, with the reason in *error, when it
    // fails or when the path leads to another mount that covers this one.
    virtual std::optional<SpaceUsage> spaceUsage(const MountEntry &mount, QString *error) = 0;
    virtual FileSystemIds ids(const MountEntry &mount) = 0;
};
