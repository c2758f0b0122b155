#include "containerinfo.h"

#include "text.h"

#include <QHash>

QString ContainerInfo::copyText() const
{
    const QChar comma = u',';
    return conRef % comma % firstVolName % comma % QString::number(capacity) % comma %
           QString::number(free) % comma % QString::number(totalUsed) % comma % conUUID;
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
    QtPrivate::QHashCombine combine;
    seed = combine(seed, qHash(info.id));
    seed = combine(seed, textHash(info.conUUID));
    seed = combine(seed, textHash(info.conRef));
    seed = combine(seed, qHash(info.capacity));
    seed = combine(seed, qHash(info.free));
    seed = combine(seed, textHash(info.volNames));
    seed = combine(seed, textHash(info.firstVolName));
    return combine(seed, qHash(info.totalUsed));
}
