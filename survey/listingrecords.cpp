#include "listingrecords.h"

#include <QtNumeric>

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
        if (qAddOverflow(total, volume.CapacityInUse, &total))
            return std::nullopt;
    }
    return total;
}
