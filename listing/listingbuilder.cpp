#include "listingbuilder.h"

#include "filesystemfilter.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace
{

QList<QList<MountEntry>> groupByFileSystem(const QList<MountEntry> &mounts)
{
    QList<QList<MountEntry>> groups;
    QHash<quint64, qsizetype> groupOf;
    for (const MountEntry &mount : mounts) {
        if (!isListedFileSystem(mount))
            continue;
        auto it = groupOf.constFind(mount.deviceKey());
        if (it == groupOf.cend()) {
            it = groupOf.insert(mount.deviceKey(), groups.size());
            groups.append(QList<MountEntry>());
        }
        groups[*it].append(mount);
    }
    return groups;
}

QString pathText(const QByteArray &path)
{
    return QString::fromUtf8(path); // invalid bytes become U+FFFD
}

QString deviceName(const QByteArray &source)
{
    return pathText(source.sliced(qsizetype(sizeof("/dev/") - 1)));
}

} // namespace

TopLevel ListingBuilder::build(const QList<MountEntry> &mounts)
{
    m_warnings.clear();
    TopLevel top;
    for (const QList<MountEntry> &fileSystem : groupByFileSystem(mounts)) {
        if (auto info = container(fileSystem))
            top.Containers.append(*info);
    }
    makeIdsUnique(top.Containers);
    return top;
}

std::optional<APFSInfo> ListingBuilder::container(const QList<MountEntry> &mounts)
{
    const auto measured = measure(mounts);
    if (!measured)
        return std::nullopt;
    const auto &[mount, usage] = *measured;
    const auto sizes = byteSizes(usage);
    if (!sizes) {
        m_warnings.append(pathText(mount.mountPoint) + u": sizes out of range, left out"_s);
        return std::nullopt;
    }
    const FileSystemIds ids = m_lookup.ids(mount);
    const QString uuid = containerId(ids, usage, mount);
    const QString name = ids.label.isEmpty() ? pathText(mount.mountPoint) : ids.label;
    const APFSVolume volume{uuid, name, {}, sizes->inUse};
    return APFSInfo{uuid, sizes->capacity, sizes->available, deviceName(mount.source), {volume}};
}

std::optional<std::pair<MountEntry, SpaceUsage>>
ListingBuilder::measure(const QList<MountEntry> &mounts)
{
    QStringList errors;
    for (const MountEntry &mount : mounts) {
        QString error;
        if (const auto usage = m_lookup.spaceUsage(mount, &error))
            return std::pair(mount, *usage);
        errors.append(pathText(mount.mountPoint) + u": "_s + error);
    }
    m_warnings += errors;
    return std::nullopt;
}

QString ListingBuilder::containerId(const FileSystemIds &ids, const SpaceUsage &usage,
                                    const MountEntry &mount)
{
    if (!ids.uuid.isEmpty())
        return ids.uuid;
    if (usage.fsid != 0)
        return u"fsid-%1"_s.arg(usage.fsid, 16, 16, QLatin1Char('0'));
    return u"dev-%1:%2"_s.arg(mount.major).arg(mount.minor);
}

// Two filesystems with one UUID (a cloned disk, an LVM snapshot) must not
// merge into one history: the later ones carry their device name too.
void ListingBuilder::makeIdsUnique(QList<APFSInfo> &containers) const
{
    QSet<QString> seen;
    for (APFSInfo &info : containers) {
        if (seen.contains(info.APFSContainerUUID))
            info.APFSContainerUUID += u'@' + info.ContainerReference;
        seen.insert(info.APFSContainerUUID);
    }
}
