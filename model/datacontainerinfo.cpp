#include "datacontainerinfo.h"

#include "ids.h"
#include "recordhash.h"

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
    return hashFields(seed, info.id, info.date, info.dateStr, info.conUUID, info.conRef,
                      info.capacity, info.free, info.volNames, info.firstVolName, info.totalUsed);
}
