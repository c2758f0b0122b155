#include "listingdecoder.h"

#include "plistreader.h"

#include <algorithm>
#include <array>
#include <bitset>

using namespace Qt::StringLiterals;

namespace {

// Where a record sits in the listing, named only when something fails.
struct Place {
    qsizetype container = -1;
    qsizetype volume = -1;

    QString text() const
    {
        if (container < 0)
            return u"the root value"_s;
        if (volume < 0)
            return u"container %1"_s.arg(container + 1);
        return u"volume %1 of container %2"_s.arg(volume + 1).arg(container + 1);
    }
};

enum TopKey { KeyContainers };
constexpr std::array<QStringView, 1> topKeys{u"Containers"};

enum ContainerKey { KeyContainerUUID, KeyCeiling, KeyFree, KeyReference, KeyVolumes };
constexpr std::array<QStringView, 5> containerKeys{
    u"APFSContainerUUID", u"CapacityCeiling", u"CapacityFree", u"ContainerReference", u"Volumes"};

enum VolumeKey { KeyVolumeUUID, KeyName, KeyRoles, KeyInUse };
constexpr std::array<QStringView, 4> volumeKeys{u"APFSVolumeUUID", u"Name", u"Roles",
                                                u"CapacityInUse"};

template <typename Record>
using EntryReader = bool (*)(PlistReader &, int key, Record &, const Place &);

template <size_t N>
int keyIndex(const std::array<QStringView, N> &names, const QString &key)
{
    const auto found = std::find(names.begin(), names.end(), key);
    return found == names.end() ? -1 : int(found - names.begin());
}

template <size_t N>
bool requireAll(PlistReader &reader, const std::array<QStringView, N> &names,
                const std::bitset<N> &seen)
{
    for (size_t i = 0; i < N; ++i) {
        if (!seen[i])
            return reader.fail(u"missing key "_s + PlistReader::quoted(names[i].toString()));
    }
    return true;
}

// Reads one dictionary into a record: every name in names must be present
// (the reader has already refused repeated keys), every other key is skipped.
template <typename Record, size_t N>
bool readRecord(PlistReader &reader, const std::array<QStringView, N> &names,
                EntryReader<Record> readEntry, Record &record, const Place &place)
{
    std::bitset<N> seen;
    const bool read = reader.readDict([&](const QString &key) {
        const int index = keyIndex(names, key);
        if (index >= 0)
            seen.set(index);
        return readEntry(reader, index, record, place) ||
               reader.annotate(u" for key "_s + PlistReader::quoted(key), false);
    });
    return (read && requireAll(reader, names, seen)) ||
           reader.annotate(u" in "_s + place.text(), true);
}

bool readRoles(PlistReader &reader, QStringList &roles)
{
    return reader.readArray([&](qsizetype) {
        roles.append(QString());
        return reader.readString(roles.last());
    });
}

bool readVolumeEntry(PlistReader &reader, int key, APFSVolume &volume, const Place &)
{
    switch (key) {
    case KeyVolumeUUID:
        return reader.readString(volume.APFSVolumeUUID);
    case KeyName:
        return reader.readString(volume.Name);
    case KeyRoles:
        return readRoles(reader, volume.Roles);
    case KeyInUse:
        return reader.readInteger(volume.CapacityInUse);
    }
    return reader.skipValue();
}

bool readVolumes(PlistReader &reader, QList<APFSVolume> &volumes, const Place &container)
{
    return reader.readArray([&](qsizetype index) {
        volumes.append(APFSVolume());
        const Place place{container.container, index};
        return readRecord(reader, volumeKeys, readVolumeEntry, volumes.last(), place);
    });
}

bool readContainerEntry(PlistReader &reader, int key, APFSInfo &info, const Place &place)
{
    switch (key) {
    case KeyContainerUUID:
        return reader.readString(info.APFSContainerUUID);
    case KeyCeiling:
        return reader.readInteger(info.CapacityCeiling);
    case KeyFree:
        return reader.readInteger(info.CapacityFree);
    case KeyReference:
        return reader.readString(info.ContainerReference);
    case KeyVolumes:
        return readVolumes(reader, info.Volumes, place);
    }
    return reader.skipValue();
}

// A reading stores the container's used space as one int64 sum, so a
// container whose volumes overflow it cannot be recorded truthfully.
bool readContainer(PlistReader &reader, APFSInfo &info, const Place &place)
{
    if (!readRecord(reader, containerKeys, readContainerEntry, info, place))
        return false;
    if (info.totalInUse())
        return true;
    reader.fail(u"the volumes' CapacityInUse adds up beyond a signed 64-bit integer"_s);
    return reader.annotate(u" in "_s + place.text(), true);
}

bool readTopEntry(PlistReader &reader, int key, TopLevel &top, const Place &)
{
    if (key != KeyContainers)
        return reader.skipValue();
    return reader.readArray([&](qsizetype index) {
        top.Containers.append(APFSInfo());
        return readContainer(reader, top.Containers.last(), Place{index});
    });
}

} // namespace

std::optional<TopLevel> decodeListing(const QByteArray &bytes, QString *error)
{
    PlistReader reader(bytes);
    TopLevel top;
    if (reader.openDocument() && readRecord(reader, topKeys, readTopEntry, top, Place{}) &&
        reader.closeDocument())
        return top;
    if (error)
        *error = reader.errorString();
    return std::nullopt;
}
