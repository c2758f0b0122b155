#pragma once

#include "listingrecords.h"
#include "spaceusage.h"

#include <QHash>
#include <QStringList>

// Mounted ZFS datasets gathered into one container per pool, the pool being
// the closest match to a container: its datasets share its free space.
// statvfs tells, per dataset, the bytes it references and what the pool has
// left for it, so a pool's capacity is the space its mounted datasets
// reference plus the most any of them may still write; snapshots and
// datasets that are not mounted go unseen.
class ZfsPools
{
public:
    // The dataset becomes a volume of its pool's container, which is made
    // where the pool's first dataset stands in the listing.
    void add(QList<APFSInfo> &containers, const QString &dataset, const QString &volumeUuid,
             const ByteSizes &sizes);
    // Sets every pool's capacity; pools whose sizes add up beyond int64 are
    // taken out again. Returns why, one line per pool taken out.
    QStringList finish(QList<APFSInfo> &containers);

    static QString poolOf(const QString &dataset) { return dataset.section(u'/', 0, 0); }

private:
    QHash<QString, qsizetype> m_poolIndex;
};
