#include "listingbuilder.h"
#include "listingdecoder.h"
#include "mounttable.h"
#include "plistwriter.h"

#include <QFile>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr quint64 gib = quint64(1) << 30;

// `size` GiB in 4 KiB blocks, `used` GiB in use, 1 GiB more kept for root; no f_fsid.
SpaceUsage usageOf(quint64 size, quint64 used)
{
    const quint64 perGib = gib / 4096;
    const quint64 free = (size - used) * perGib;
    return SpaceUsage{size * perGib, free, free - perGib, 4096, 0};
}

// A ZFS dataset: what it references is used, what it may still write free; no reserve.
SpaceUsage datasetOf(quint64 referenced, quint64 available, quint64 fsid)
{
    const quint64 perGib = gib / 131072;
    return SpaceUsage{(referenced + available) * perGib, available * perGib, available * perGib,
                      131072, fsid};
}

// The system as the tests see it: every mount point measures 10 GiB unless
// `usage` says otherwise, except those under /covered, which another mount hides.
class FakeLookup : public FileSystemLookup
{
public:
    QHash<QByteArray, SpaceUsage> usage;
    QHash<QByteArray, FileSystemIds> idsBySource = {
        {"/dev/nvme0n1p2", {u"0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e"_s, {}}},
        {"/dev/nvme0n1p1", {u"8A1F-3C2B"_s, {}}},
        {"/dev/sda1", {u"d3adb33f-0000-4000-8000-000000000001"_s, u"pool"_s}},
        {"/dev/sdb1", {u"62C2-9F1D"_s, {}}},
        {"/dev/sdc1", {u"a1b2c3d4-1111-4222-8333-444455556666"_s, u"Fotos & <Ärger> 日本"_s}},
        {"/dev/mapper/vg-data", {u"c1095e"_s, {}}},
        {"/dev/mapper/vg-snap", {u"c1095e"_s, {}}}, // a snapshot of vg-data
    };

    std::optional<SpaceUsage> spaceUsage(const MountEntry &mount, QString *error) override
    {
        *error = u"covered by another mount"_s;
        if (mount.mountPoint.startsWith("/covered"))
            return std::nullopt;
        return usage.value(mount.mountPoint, usageOf(10, 1));
    }
    FileSystemIds ids(const MountEntry &mount) override { return idsBySource.value(mount.source); }
};

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(QUILLBANK_TEST_DATA "/") + QLatin1StringView(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One line per container: reference, volume names, container UUID.
QStringList summary(const TopLevel &top)
{
    QStringList lines;
    for (const APFSInfo &info : top.Containers)
        lines.append(info.ContainerReference + u" | "_s + info.volNames() + u" | "_s +
                     info.APFSContainerUUID);
    return lines;
}

} // namespace

class TestListing : public QObject
{
    Q_OBJECT

    FakeLookup m_lookup;

private slots:
    // Lines of /proc/self/mountinfo laid out as proc(5) says; other lines are skipped.
    void readsMountTable_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<MountEntry>>("expected");
        QTest::newRow("proc(5) example, optional fields")
            << QByteArray("36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 shared:2 - ext3 "
                          "/dev/root rw,errors=continue")
            << QList<MountEntry>{{36, 35, 98, 0, "/mnt1", "/mnt/parent", "ext3", "/dev/root"}};
        QTest::newRow("space, tab, newline, backslash, UTF-8 escaped")
            << QByteArray(
                   "52 50 8:17 / /a\\040b\\011\\012\\134\\303\\251 rw - exfat /dev/c\\040d rw")
            << QList<MountEntry>{{52, 50, 8, 17, "/", "/a b\t\n\\\xc3\xa9", "exfat", "/dev/c d"}};
        QTest::newRow("escape cut short at the end, 20-bit minor")
            << QByteArray("56 28 0:1048575 / /x\\04 rw - fuse.sshfs me@server:/ rw")
            << QList<MountEntry>{{56, 28, 0, 1048575, "/", "/x\\04", "fuse.sshfs", "me@server:/"}};
        const QList<MountEntry> none;
        QTest::newRow("no separator") << QByteArray("27 1 254:0 / / rw ext4 /dev/vda rw") << none;
        QTest::newRow("bad device") << QByteArray("27 1 254 / / rw - ext4 /dev/vda rw") << none;
    }
    void readsMountTable()
    {
        QFETCH(QByteArray, text);
        QTEST(parseMountTable(text), "expected");
    }

    // Local block filesystems only, as the survey's decoder reads them: no snap, image, network
    // share, tmpfs, overlay, FUSE (fuseblk too), disc or pseudo filesystem; bind mounts and
    // btrfs subvolumes are one container; two filesystems with one UUID are kept apart.
    void desktopListingDecodes()
    {
        m_lookup.usage = {{"/", usageOf(500, 120)}, {"/mnt/logs", usageOf(500, 120)}};
        ListingBuilder builder(m_lookup);
        const TopLevel top = builder.build(parseMountTable(fixture("desktop.mountinfo")));
        QString error;
        const auto decoded = decodeListing(writePlist(top), &error);
        QVERIFY2(decoded, qPrintable(error));
        QVERIFY(*decoded == top);
        QCOMPARE(
            summary(*decoded),
            QStringList({u"nvme0n1p2 | / | 0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e"_s,
                         u"nvme0n1p1 | /boot/efi | 8A1F-3C2B"_s,
                         u"sda1 | pool | d3adb33f-0000-4000-8000-000000000001"_s,
                         u"sdb1 | /media/me/My Passport | 62C2-9F1D"_s,
                         u"sdc1 | Fotos & <Ärger> 日本 | a1b2c3d4-1111-4222-8333-444455556666"_s,
                         u"mapper/vg-data | /var/lib/data | c1095e"_s, u"sdh | /data | dev-0:45"_s,
                         u"mapper/vg-snap | /mnt/snap | c1095e@mapper/vg-snap"_s}));
        const APFSInfo &root = decoded->Containers[0];
        QCOMPARE(root.CapacityCeiling, qint64(500 * gib));
        QCOMPARE(root.CapacityFree, qint64(379 * gib)); // root's reserve is not free to users
        QCOMPARE(root.Volumes[0].CapacityInUse, qint64(120 * gib));
    }

    void mapsMounts_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("leftOut");
        QTest::newRow("bind mount listed first, one device under two names")
            << QByteArray("49 28 253:1 /var/log /mnt/logs rw - ext4 /dev/mapper/vg-srv rw\n"
                          "28 1 253:1 / / rw - ext4 /dev/dm-1 rw")
            << QStringList{u"mapper/vg-srv | /mnt/logs | dev-253:1"_s} << QStringList();
        QTest::newRow("btrfs subvolume under a covered mount")
            << QByteArray("44 28 0:35 /@home /covered rw - btrfs /dev/sdf1 rw\n"
                          "45 28 0:35 /@data /srv/data rw - btrfs /dev/sdf1 rw")
            << QStringList{u"sdf1 | /srv/data | dev-0:35"_s} << QStringList();
        QTest::newRow("covered, sizes beyond int64 or nonsense")
            << QByteArray("50 1 8:33 / /covered rw - ext4 /dev/sdg1 rw\n"
                          "51 1 8:34 / /huge rw - ext4 /dev/sdg2 rw\n"
                          "52 1 8:35 / /nonsense rw - ext4 /dev/sdg3 rw\n"
                          "70 1 0:50 / /a rw - zfs big/a rw\n"
                          "71 1 0:51 / /b rw - zfs big/b rw\n"
                          "72 1 0:52 / /c rw - zfs small rw")
            << QStringList{u"small | small | zfs-small"_s}
            << QStringList{u"/covered"_s, u"/huge"_s, u"/nonsense"_s, u"big"_s};
    }
    void mapsMounts()
    {
        QFETCH(QByteArray, table);
        // 2^52 blocks of 4 KiB are 2^64 bytes, 0 in 64-bit arithmetic.
        m_lookup.usage = {{"/huge", {quint64(1) << 52, 0, 0, 4096, 1}},
                          {"/nonsense", {10, 5, 11, 4096, 1}}, // more available than exists
                          // 2^61 bytes in use and 2^62 free each: 2^62 + 2^62 for the pool
                          {"/a", datasetOf(1ull << 31, 1ull << 32, 1)},
                          {"/b", datasetOf(1ull << 31, 1ull << 32, 2)}};
        ListingBuilder builder(m_lookup);
        QTEST(summary(builder.build(parseMountTable(table))), "expected");
        QStringList leftOut;
        for (const QString &warning : builder.warnings())
            leftOut.append(warning.section(u": "_s, 0, 0));
        QTEST(leftOut, "leftOut");
    }

    // A pool's datasets share its free space: its capacity is what they
    // reference plus the most any of them may still write.
    void gathersZfsDatasetsByPool()
    {
        m_lookup.usage = {
            {"/", datasetOf(20, 300, 0xa1)},         {"/boot", datasetOf(1, 1, 0xb1)},
            {"/home/me", datasetOf(150, 300, 0xa2)}, {"/var/lib", datasetOf(5, 250, 0xa3)},
            {"/tank", datasetOf(900, 100, 0xc1)},
        };
        ListingBuilder builder(m_lookup);
        const TopLevel top = builder.build(parseMountTable(fixture("zfs.mountinfo")));
        QCOMPARE(
            summary(top),
            QStringList({u"rpool | rpool/ROOT/ubuntu_k3x9, rpool/USERDATA/me_y2q7, "
                         u"rpool/ROOT/ubuntu_k3x9/var/lib | zfs-rpool"_s,
                         u"bpool | bpool/BOOT/ubuntu_k3x9 | zfs-bpool"_s,
                         u"nvme0n1p1 | /boot/efi | 8A1F-3C2B"_s, u"tank | tank | zfs-tank"_s}));
        const APFSInfo &rpool = top.Containers[0];
        QCOMPARE(rpool.Volumes[1].CapacityInUse, qint64(150 * gib));
        QCOMPARE(rpool.CapacityFree, qint64(300 * gib));
        QCOMPARE(rpool.CapacityCeiling, qint64((20 + 150 + 5 + 300) * gib));
    }

    // Text the property list cannot carry as it is comes back as U+FFFD, the
    // rest exactly, in every field; sizes up to the int64 limit.
    void propertyListDecodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QString kept = u"Fotos & <Ärger> \"x\" 'y' ]]>\r\n\t日本 🐧"_s;
        QTest::newRow("markup, quotes, line ends, non-ASCII") << kept << kept;
        QTest::newRow("control characters, lone surrogate, non-characters")
            << QString(QChar(0)) + u"x\x1b["_s + QChar(0xD800) + QChar(0xFFFE) + QChar(0xFFFF)
            << u"\uFFFDx\uFFFD[\uFFFD\uFFFD\uFFFD"_s;
    }
    void propertyListDecodes()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        constexpr qint64 most = std::numeric_limits<qint64>::max();
        const auto listing = [](const QString &s) {
            return TopLevel{{APFSInfo{s, most, most, s, {APFSVolume{s, s, {}, most}}}}};
        };
        QString error;
        const auto decoded = decodeListing(writePlist(listing(text)), &error);
        QVERIFY2(decoded, qPrintable(error));
        QVERIFY(*decoded == listing(expected));
    }
};

QTEST_APPLESS_MAIN(TestListing)
#include "tst_listing.moc"
