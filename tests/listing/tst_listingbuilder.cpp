#include "fakefilesystemlookup.h"
#include "listingbuilder.h"
#include "listingdecoder.h"
#include "mounttable.h"
#include "plistwriter.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestListingBuilder : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void listsLocalFileSystemsOfDesktop();
    void desktopListingDecodesAsBuilt();
    void mergesMountsOfOneFileSystem_data();
    void mergesMountsOfOneFileSystem();
    void measuresFirstReachableMount();
    void leavesOutUnmeasurable_data();
    void leavesOutUnmeasurable();
    void containerIds_data();
    void containerIds();
    void keepsFileSystemsWithOneUuidApart();
    void gathersZfsDatasetsByPool();
    void leavesOutZfsPoolBeyondInt64();

private:
    TopLevel buildDesktop();

    FakeFileSystemLookup m_lookup;
};

namespace {

constexpr quint64 gib = quint64(1) << 30;

// A filesystem of `gigabytes` GiB in 4 KiB blocks, `usedGib` in use and 1 GiB
// more kept for root.
SpaceUsage usageOf(quint64 gigabytes, quint64 usedGib)
{
    const quint64 blocksPerGib = gib / 4096;
    const quint64 free = (gigabytes - usedGib) * blocksPerGib;
    return SpaceUsage{gigabytes * blocksPerGib, free, free - blocksPerGib, 4096, 0x1234};
}

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(QUILLBANK_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A dataset as ZFS reports it: every block it references is used, and all
// it may still write is free (no reserve for root).
SpaceUsage datasetOf(quint64 referencedGib, quint64 availableGib, quint64 fsid)
{
    const quint64 blocksPerGib = gib / 131072;
    const quint64 free = availableGib * blocksPerGib;
    return SpaceUsage{referencedGib * blocksPerGib + free, free, free, 131072, fsid};
}

QStringList references(const TopLevel &top)
{
    QStringList refs;
    for (const APFSInfo &info : top.Containers)
        refs.append(info.ContainerReference);
    return refs;
}

} // namespace

void TestListingBuilder::init()
{
    m_lookup = FakeFileSystemLookup();
    m_lookup.usageByMountPoint = {
        {"/", usageOf(500, 120)},
        {"/mnt/logs", usageOf(500, 120)},
        {"/boot/efi", usageOf(1, 0)},
        {"/home", usageOf(2000, 900)},
        {"/srv/data", usageOf(2000, 900)},
        {"/media/me/My Passport", usageOf(4000, 3000)},
        {"/media/me/photos", usageOf(1000, 10)},
        {"/var/lib/data", usageOf(100, 99)},
        // what a careless lookup would also find
        {"/snap/core22/1380", usageOf(1, 1)},
        {"/mnt/nas", usageOf(8000, 1)},
        {"/run", usageOf(2, 0)},
        {"/media/me/WINDOWS", usageOf(256, 100)},
    };
    m_lookup.idsBySource = {
        {"/dev/nvme0n1p2", {u"0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e"_s, {}}},
        {"/dev/nvme0n1p1", {u"8A1F-3C2B"_s, {}}},
        {"/dev/sda1", {u"d3adb33f-0000-4000-8000-000000000001"_s, u"pool"_s}},
        {"/dev/sdb1", {u"62C2-9F1D"_s, {}}},
        {"/dev/sdc1", {u"a1b2c3d4-1111-4222-8333-444455556666"_s, u"Fotos & <Ärger> 日本"_s}},
    };
}

TopLevel TestListingBuilder::buildDesktop()
{
    ListingBuilder builder(m_lookup);
    return builder.build(parseMountTable(fixture(u"desktop.mountinfo"_s)));
}

void TestListingBuilder::listsLocalFileSystemsOfDesktop()
{
    const TopLevel top = buildDesktop();
    // no snaps, network shares, tmpfs, overlay, FUSE, disc or pseudo filesystem
    QCOMPARE(references(top), QStringList({u"nvme0n1p2"_s, u"nvme0n1p1"_s, u"sda1"_s, u"sdb1"_s,
                                           u"sdc1"_s, u"mapper/vg-data"_s}));
    const APFSInfo &root = top.Containers[0];
    QCOMPARE(root.APFSContainerUUID, u"0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e"_s);
    QCOMPARE(root.CapacityCeiling, qint64(500 * gib));
    QCOMPARE(root.CapacityFree, qint64(379 * gib)); // without root's reserve
    QCOMPARE(root.Volumes.size(), 1);
    QCOMPARE(root.Volumes[0].Name, u"/"_s);
    QCOMPARE(root.Volumes[0].APFSVolumeUUID, root.APFSContainerUUID);
    QCOMPARE(root.Volumes[0].CapacityInUse, qint64(120 * gib));
    QCOMPARE(root.Volumes[0].Roles, QStringList());
    QCOMPARE(top.Containers[1].Volumes[0].Name, u"/boot/efi"_s);
    QCOMPARE(top.Containers[2].Volumes[0].Name, u"pool"_s);
    QCOMPARE(top.Containers[3].Volumes[0].Name, u"/media/me/My Passport"_s);
    QCOMPARE(top.Containers[4].Volumes[0].Name, u"Fotos & <Ärger> 日本"_s);
    QCOMPARE(top.Containers[5].APFSContainerUUID, u"fsid-0000000000001234"_s);
}

// The label with markup and non-ASCII characters must come back exactly,
// and every other field with it.
void TestListingBuilder::desktopListingDecodesAsBuilt()
{
    const TopLevel top = buildDesktop();
    QString error;
    const auto decoded = decodeListing(writePlist(top), &error);
    QVERIFY2(decoded, qPrintable(error));
    QCOMPARE(decoded->Containers.size(), 6);
    QCOMPARE(decoded->Containers[4].Volumes[0].Name, u"Fotos & <Ärger> 日本"_s);
    QVERIFY(*decoded == top);
}

void TestListingBuilder::mergesMountsOfOneFileSystem_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("name");
    QTest::newRow("bind mount after the filesystem")
        << QByteArray("28 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n"
                      "49 28 259:2 /var/log /mnt/logs rw - ext4 /dev/nvme0n1p2 rw\n")
        << u"/"_s;
    QTest::newRow("bind mount listed first")
        << QByteArray("49 28 259:2 /var/log /mnt/logs rw - ext4 /dev/nvme0n1p2 rw\n"
                      "28 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n")
        << u"/mnt/logs"_s;
    QTest::newRow("btrfs subvolumes")
        << QByteArray("44 28 0:35 /@home /home rw - btrfs /dev/sda1 rw,subvol=/@home\n"
                      "45 28 0:35 /@data /srv/data rw - btrfs /dev/sda1 rw,subvol=/@data\n")
        << u"/home"_s;
    QTest::newRow("one device under two names")
        << QByteArray("28 1 253:0 / / rw - ext4 /dev/mapper/vg-root rw\n"
                      "49 28 253:0 / /mnt/again rw - ext4 /dev/dm-0 rw\n")
        << u"/"_s;
}

void TestListingBuilder::mergesMountsOfOneFileSystem()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, name);
    m_lookup.idsBySource.clear();
    m_lookup.usageByMountPoint = {{"/", usageOf(10, 1)},
                                  {"/mnt/logs", usageOf(10, 1)},
                                  {"/home", usageOf(10, 1)},
                                  {"/srv/data", usageOf(10, 1)},
                                  {"/mnt/again", usageOf(10, 1)}};
    ListingBuilder builder(m_lookup);
    const TopLevel top = builder.build(parseMountTable(table));
    QCOMPARE(top.Containers.size(), 1);
    QCOMPARE(top.Containers[0].Volumes.size(), 1);
    QCOMPARE(top.Containers[0].Volumes[0].Name, name);
    QCOMPARE(m_lookup.measured.size(), 1); // the first mount answered, the rest not asked
}

void TestListingBuilder::measuresFirstReachableMount()
{
    const QByteArray table("44 28 0:35 /@home /home rw - btrfs /dev/sda1 rw\n"
                           "45 28 0:35 /@data /srv/data rw - btrfs /dev/sda1 rw\n");
    m_lookup.covered = {44}; // something else is mounted over /home
    m_lookup.idsBySource.clear();
    ListingBuilder builder(m_lookup);
    const TopLevel top = builder.build(parseMountTable(table));
    QCOMPARE(top.Containers.size(), 1);
    QCOMPARE(top.Containers[0].Volumes[0].Name, u"/srv/data"_s);
    QVERIFY(builder.warnings().isEmpty());
}

void TestListingBuilder::leavesOutUnmeasurable_data()
{
    QTest::addColumn<SpaceUsage>("usage");
    QTest::addColumn<bool>("covered");
    QTest::newRow("covered by another mount") << usageOf(10, 1) << true;
    QTest::newRow("capacity beyond int64") << SpaceUsage{quint64(1) << 62, 0, 0, 4096, 1} << false;
    QTest::newRow("more free than exists") << SpaceUsage{10, 11, 0, 4096, 1} << false;
}

void TestListingBuilder::leavesOutUnmeasurable()
{
    QFETCH(SpaceUsage, usage);
    QFETCH(bool, covered);
    const QByteArray table("53 50 8:33 / /media/x rw - ext4 /dev/sdc1 rw\n"
                           "28 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n");
    m_lookup.usageByMountPoint.insert("/media/x", usage);
    if (covered)
        m_lookup.covered = {53};
    ListingBuilder builder(m_lookup);
    const TopLevel top = builder.build(parseMountTable(table));
    QCOMPARE(references(top), QStringList({u"nvme0n1p2"_s}));
    QCOMPARE(builder.warnings().size(), 1);
    QVERIFY(builder.warnings().first().startsWith(u"/media/x: "_s));
}

void TestListingBuilder::containerIds_data()
{
    QTest::addColumn<QString>("uuid");
    QTest::addColumn<quint64>("fsid");
    QTest::addColumn<QString>("expected");
    QTest::newRow("uuid as blkid gives it")
        << u"0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e"_s << quint64(7)
        << u"0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e"_s;
    QTest::newRow("vfat serial") << u"8A1F-3C2B"_s << quint64(7) << u"8A1F-3C2B"_s;
    QTest::newRow("fsid") << QString() << quint64(0x34df299000a15aea) << u"fsid-34df299000a15aea"_s;
    QTest::newRow("small fsid padded") << QString() << quint64(0xab) << u"fsid-00000000000000ab"_s;
    QTest::newRow("device number") << QString() << quint64(0) << u"dev-8:33"_s;
}

void TestListingBuilder::containerIds()
{
    QFETCH(QString, uuid);
    QFETCH(quint64, fsid);
    QFETCH(QString, expected);
    MountEntry mount;
    mount.major = 8;
    mount.minor = 33;
    SpaceUsage usage;
    usage.fsid = fsid;
    QCOMPARE(ListingBuilder::containerId({uuid, {}}, usage, mount), expected);
}

void TestListingBuilder::keepsFileSystemsWithOneUuidApart()
{
    const QByteArray table("28 1 253:0 / / rw - ext4 /dev/mapper/vg-root rw\n"
                           "60 28 253:3 / /mnt/snapshot ro - ext4 /dev/mapper/vg-snap ro\n");
    m_lookup.usageByMountPoint.insert("/mnt/snapshot", usageOf(500, 100));
    const FileSystemIds clone{u"0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e"_s, {}};
    m_lookup.idsBySource = {{"/dev/mapper/vg-root", clone}, {"/dev/mapper/vg-snap", clone}};
    ListingBuilder builder(m_lookup);
    const TopLevel top = builder.build(parseMountTable(table));
    QCOMPARE(top.Containers.size(), 2);
    QCOMPARE(top.Containers[0].APFSContainerUUID, clone.uuid);
    QCOMPARE(top.Containers[1].APFSContainerUUID, clone.uuid + u"@mapper/vg-snap"_s);
    QCOMPARE(top.Containers[1].CapacityCeiling, qint64(500 * gib));
}

void TestListingBuilder::gathersZfsDatasetsByPool()
{
    m_lookup.usageByMountPoint = {
        {"/", datasetOf(20, 300, 0xa1)},
        {"/boot", datasetOf(1, 1, 0xb1)},
        {"/home/me", datasetOf(150, 300, 0xa2)},
        {"/var/lib", datasetOf(5, 250, 0xa3)},
        {"/boot/efi", usageOf(1, 0)},
        {"/tank", datasetOf(900, 100, 0xc1)},
        {"/home/me/.zfs/snapshot/autozsys_0abc", datasetOf(140, 0, 0xa4)},
    };
    ListingBuilder builder(m_lookup);
    const TopLevel top = builder.build(parseMountTable(fixture(u"zfs.mountinfo"_s)));
    QCOMPARE(references(top), QStringList({u"rpool"_s, u"bpool"_s, u"nvme0n1p1"_s, u"tank"_s}));
    const APFSInfo &rpool = top.Containers[0];
    QCOMPARE(rpool.APFSContainerUUID, u"zfs-rpool"_s);
    QCOMPARE(rpool.volNames(), u"rpool/ROOT/ubuntu_k3x9, rpool/USERDATA/me_y2q7, "
                               u"rpool/ROOT/ubuntu_k3x9/var/lib"_s);
    QCOMPARE(rpool.Volumes[1].APFSVolumeUUID, u"fsid-00000000000000a2"_s);
    QCOMPARE(rpool.Volumes[1].CapacityInUse, qint64(150 * gib));
    QCOMPARE(rpool.CapacityFree, qint64(300 * gib)); // the most any dataset may write
    QCOMPARE(rpool.CapacityCeiling, qint64((20 + 150 + 5 + 300) * gib));
    QCOMPARE(top.Containers[3].CapacityCeiling, qint64(1000 * gib));
    QCOMPARE(top.Containers[3].Volumes[0].Name, u"tank"_s);
}

void TestListingBuilder::leavesOutZfsPoolBeyondInt64()
{
    const QByteArray table("70 1 0:50 / /a rw - zfs big/a rw\n"
                           "71 1 0:51 / /b rw - zfs big/b rw\n"
                           "72 1 0:52 / /c rw - zfs small rw\n");
    // Each dataset of "big" references 2^62 bytes: fine alone, beyond int64 together.
    const SpaceUsage half{quint64(1) << 45, 0, 0, 131072, 1};
    m_lookup.usageByMountPoint = {{"/a", half}, {"/b", half}, {"/c", datasetOf(1, 1, 2)}};
    ListingBuilder builder(m_lookup);
    const TopLevel top = builder.build(parseMountTable(table));
    QCOMPARE(references(top), QStringList({u"small"_s}));
    QCOMPARE(builder.warnings(), QStringList({u"big: sizes out of range, left out"_s}));
}

QTEST_APPLESS_MAIN(TestListingBuilder)
#include "tst_listingbuilder.moc"
