#include "containerinfo.h"

#include "csvfield.h"
#include "recordhash.h"

QString ContainerInfo::copyText() const
{
    const QChar comma = u',';
    return csvField(conRef) % comma % csvField(firstVolName) % comma % QString::number(capacity) %
           comma % QString::number(free) % comma % QString::number(totalUsed) % comma %
           csvField(conUUID);
}

bool operator==(const ContainerInfo &a, const ContainerInfo &b)
{
    return a.id == b.id && a.capacity == b.capacity && a.free == b.free &&
           a.totalUsed == b.totalUsed && sameText(a.conUUID, b.conUUID) &&
           sameText(a.conRef, b.conRef) && sameText(a.volNames, b.volNames) &&
           sameText(a.firstVolName, b.firstVolName);
}

size_t qHash(const ContainerInfo &info, size_t seed)
{
    return hashFields(seed, info.id, info.conUUID, info.conRef, info.capacity, info.free,
                      info.volNames, info.firstVolName, info.totalUsed);
}
