#include "listingrecords.h"

QString APFSInfo::volNames() const
{
    QStringList names;
    names.reserve(Volumes.size());
    for (const APFSVolume &volume : Volumes)
        names.append(volume.Name);
    return names.join(QStringLiteral(", "));
}

QString APFSInfo::firstVolName() const
{
    return Volumes.isEmpty() ? QString() : Volumes.first().Name;
}

std::optional<qint64> APFSInfo::totalInUse() const
{
    qint64 total = 0;
    for (const APFSVolume &volume : Volumes) {
        if (__builtin_add_overflow(total, volume.CapacityInUse, &total))
            return std::nullopt;
    }
    return total;
}
