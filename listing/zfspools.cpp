#include "zfspools.h"

#include <QtNumeric>

#include <algorithm>

using namespace Qt::StringLiterals;

void ZfsPools::add(QList<APFSInfo> &containers, const QString &dataset, const QString &volumeUuid,
                   const ByteSizes &sizes)
{
    const QString pool = poolOf(dataset);
    const APFSVolume volume{volumeUuid, dataset, {}, sizes.inUse};
    const auto it = m_poolIndex.constFind(pool);
    if (it == m_poolIndex.cend()) {
        m_poolIndex.insert(pool, containers.size());
        containers.append(APFSInfo{u"zfs-"_s + pool, 0, sizes.available, pool, {volume}});
        return;
    }
    APFSInfo &info = containers[*it];
    info.Volumes.append(volume);
    info.CapacityFree = std::max(info.CapacityFree, sizes.available);
}

QStringList ZfsPools::finish(QList<APFSInfo> &containers)
{
    QStringList reasons;
    QList<qsizetype> overflowing;
    for (const qsizetype index : std::as_const(m_poolIndex)) {
        APFSInfo &info = containers[index];
        const auto inUse = info.totalInUse();
        if (!inUse || qAddOverflow(*inUse, info.CapacityFree, &info.CapacityCeiling)) {
            overflowing.append(index);
            reasons.append(info.ContainerReference + u": sizes out of range, left out"_s);
        }
    }
    std::sort(overflowing.rbegin(), overflowing.rend());
    for (const qsizetype index : std::as_const(overflowing))
        containers.removeAt(index);
    m_poolIndex.clear();
    return reasons;
}
