#include "listingbuilder.h"

#include "filesystemfilter.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

QList<QList<MountEntry>> groupByFileSystem(const QList<MountEntry> &mounts)
{
    QList<QList<MountEntry>> groups;
    QHash<quint64, qsizetype> groupOf;
    for (const MountEntry &mount : mounts) {
        if (!isListedFileSystem(mount) && !isZfsDataset(mount))
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
        if (isZfsDataset(fileSystem.first()))
            addDataset(top.Containers, fileSystem);
        else if (auto info = container(fileSystem))
            top.Containers.append(*info);
    }
    m_warnings += m_pools.finish(top.Containers);
    makeIdsUnique(top.Containers);
    return top;
}

std::optional<APFSInfo> ListingBuilder::container(const QList<MountEntry> &mounts)
{
    const auto measured = measure(mounts);
    if (!measured)
        return std::nullopt;
    const FileSystemIds ids = m_lookup.ids(measured->mount);
    const QString uuid = containerId(ids, measured->usage, measured->mount);
    const QString name = ids.label.isEmpty() ? pathText(measured->mount.mountPoint) : ids.label;
    const APFSVolume volume{uuid, name, {}, measured->sizes.inUse};
    return APFSInfo{uuid,
                    measured->sizes.capacity,
                    measured->sizes.available,
                    deviceName(measured->mount.source),
                    {volume}};
}

void ListingBuilder::addDataset(QList<APFSInfo> &containers, const QList<MountEntry> &mounts)
{
    const auto measured = measure(mounts);
    if (!measured)
        return;
    const QString volumeUuid = containerId({}, measured->usage, measured->mount);
    m_pools.add(containers, pathText(measured->mount.source), volumeUuid, measured->sizes);
}

std::optional<ListingBuilder::Measured> ListingBuilder::measure(const QList<MountEntry> &mounts)
{
    QStringList errors;
    for (const MountEntry &mount : mounts) {
        QString error;
        const auto usage = m_lookup.spaceUsage(mount, &error);
        if (!usage) {
            errors.append(pathText(mount.mountPoint) + u": "_s + error);
            continue;
        }
        if (const auto sizes = byteSizes(*usage))
            return Measured{mount, *usage, *sizes};
        m_warnings.append(pathText(mount.mountPoint) + u": sizes out of range, left out"_s);
        return std::nullopt;
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
