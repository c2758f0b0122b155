#include "datacontainerinfo.h"

#include "ids.h"
#include "recordhash.h"

DataContainerInfo DataContainerInfo::fromContainer(const ContainerInfo &info, double date,
                                                   const QString &dateStr)
{
    DataContainerInfo entry{info, date, dateStr};
    entry.id = newId();
    return entry;
}

bool operator==(const DataContainerInfo &a, const DataContainerInfo &b)
{
    return static_cast<const ContainerInfo &>(a) == static_cast<const ContainerInfo &>(b) &&
           a.date == b.date && sameText(a.dateStr, b.dateStr);
}

size_t qHash(const DataContainerInfo &info, size_t seed)
{
    return hashFields(qHash(static_cast<const ContainerInfo &>(info), seed), info.date,
                      info.dateStr);
}
