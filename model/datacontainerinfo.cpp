#include "datacontainerinfo.h"

#include "ids.h"
#include "text.h"

#include <QHash>

DataContainerInfo DataContainerInfo::fromContainer(const ContainerInfo &info, double date,
                                                   const QString &dateStr)
{
    return {newId(),       date,      dateStr,       info.conUUID,      info.conRef,
            info.capacity, info.free, info.volNames, info.firstVolName, info.totalUsed};
}

bool operator==(const DataContainerInfo &a, const DataContainerInfo &b)
{
    return a.id == b.id && a.date == b.date && a.capacity == b.capacity && a.free == b.free &&
           a.totalUsed == b.totalUsed && sameText(a.dateStr, b.dateStr) &&
           sameText(a.conUUID, b.conUUID) && sameText(a.conRef, b.conRef) &&
           sameText(a.volNames, b.volNames) && sameText(a.firstVolName, b.firstVolName);
}

size_t qHash(const DataContainerInfo &info, size_t seed)
{
    QtPrivate::QHashCombine combine;
    seed = combine(seed, qHash(info.id));
    seed = combine(seed, qHash(info.date));
    seed = combine(seed, textHash(info.dateStr));
    seed = combine(seed, textHash(info.conUUID));
    seed = combine(seed, textHash(info.conRef));
    seed = combine(seed, qHash(info.capacity));
    seed = combine(seed, qHash(info.free));
    seed = combine(seed, textHash(info.volNames));
    seed = combine(seed, textHash(info.firstVolName));
    return combine(seed, qHash(info.totalUsed));
}
