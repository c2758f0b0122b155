#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The parts of the listing tool's property list that a reading uses. Field
// names are the listing's own keys, matched case-sensitively.

struct APFSVolume {
    QString APFSVolumeUUID;
    QString Name;
    QStringList Roles;
    qint64 CapacityInUse = 0;

    friend bool operator==(const APFSVolume &, const APFSVolume &) = default;
};

struct APFSInfo {
    QString APFSContainerUUID;
    qint64 CapacityCeiling = 0;
    qint64 CapacityFree = 0;
    QString ContainerReference;
    QList<APFSVolume> Volumes;

    // Every volume's Name in listing order, joined with ", ".
    QString volNames() const;
    // The first volume's Name; empty without volumes.
    QString firstVolName() const;
    // The sum of the volumes' CapacityInUse; nothing when it does not fit int64.
    std::optional<qint64> totalInUse() const;

    friend bool operator==(const APFSInfo &, const APFSInfo &) = default;
};

struct TopLevel {
    QList<APFSInfo> Containers;

    friend bool operator==(const TopLevel &, const TopLevel &) = default;
};
