#include "filesystemfilter.h"

#include <QTest>

class TestFileSystemFilter : public QObject
{
    Q_OBJECT
private slots:
    void decides_data();
    void decides();
    void recognisesZfsDatasets_data();
    void recognisesZfsDatasets();
};

void TestFileSystemFilter::decides_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<quint32>("major");
    QTest::addColumn<bool>("listed");
    QTest::newRow("ext4") << QByteArray("ext4") << QByteArray("/dev/nvme0n1p2") << 259u << true;
    QTest::newRow("xfs on lvm") << QByteArray("xfs") << QByteArray("/dev/mapper/vg-data") << 253u
                                << true;
    QTest::newRow("vfat") << QByteArray("vfat") << QByteArray("/dev/sda1") << 8u << true;
    QTest::newRow("exfat") << QByteArray("exfat") << QByteArray("/dev/sdb1") << 8u << true;
    QTest::newRow("ntfs3") << QByteArray("ntfs3") << QByteArray("/dev/sdb2") << 8u << true;
    QTest::newRow("ext4 on loop") << QByteArray("ext4") << QByteArray("/dev/loop5") << 7u << true;
    QTest::newRow("btrfs, anonymous device")
        << QByteArray("btrfs") << QByteArray("/dev/sda1") << 0u << true;
    QTest::newRow("bcachefs, anonymous device")
        << QByteArray("bcachefs") << QByteArray("/dev/sdc") << 0u << true;
    QTest::newRow("ext4 claiming major 0")
        << QByteArray("ext4") << QByteArray("/dev/sda1") << 0u << false;
    QTest::newRow("tmpfs") << QByteArray("tmpfs") << QByteArray("tmpfs") << 0u << false;
    QTest::newRow("tmpfs named like a device")
        << QByteArray("tmpfs") << QByteArray("/dev/shm") << 0u << false;
    QTest::newRow("overlay") << QByteArray("overlay") << QByteArray("overlay") << 0u << false;
    QTest::newRow("proc") << QByteArray("proc") << QByteArray("proc") << 0u << false;
    QTest::newRow("devtmpfs") << QByteArray("devtmpfs") << QByteArray("udev") << 0u << false;
    QTest::newRow("btrfs without a device")
        << QByteArray("btrfs") << QByteArray("none") << 0u << false;
    QTest::newRow("nfs4") << QByteArray("nfs4") << QByteArray("nas:/export") << 0u << false;
    QTest::newRow("cifs") << QByteArray("cifs") << QByteArray("//nas/share") << 0u << false;
    QTest::newRow("ceph on a device path")
        << QByteArray("ceph") << QByteArray("/dev/rbd0") << 252u << false;
    QTest::newRow("sshfs") << QByteArray("fuse.sshfs") << QByteArray("me@host:/") << 0u << false;
    QTest::newRow("fuse on a device path")
        << QByteArray("fuse.ntfs-3g") << QByteArray("/dev/sdd1") << 8u << false;
    QTest::newRow("fuseblk") << QByteArray("fuseblk") << QByteArray("/dev/sdd1") << 8u << false;
    QTest::newRow("squashfs snap")
        << QByteArray("squashfs") << QByteArray("/dev/loop0") << 7u << false;
    QTest::newRow("iso9660") << QByteArray("iso9660") << QByteArray("/dev/sr0") << 11u << false;
    QTest::newRow("erofs") << QByteArray("erofs") << QByteArray("/dev/loop3") << 7u << false;
    QTest::newRow("udf disc or disk") << QByteArray("udf") << QByteArray("/dev/sr0") << 11u << true;
}

void TestFileSystemFilter::decides()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, source);
    QFETCH(quint32, major);
    QFETCH(bool, listed);
    MountEntry mount;
    mount.fsType = type;
    mount.source = source;
    mount.major = major;
    mount.minor = 1;
    QCOMPARE(isListedFileSystem(mount), listed);
}

void TestFileSystemFilter::recognisesZfsDatasets_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("dataset");
    QTest::newRow("dataset") << QByteArray("zfs") << QByteArray("rpool/ROOT/ubuntu") << true;
    QTest::newRow("pool root") << QByteArray("zfs") << QByteArray("tank") << true;
    QTest::newRow("snapshot") << QByteArray("zfs") << QByteArray("rpool/home@daily") << false;
    QTest::newRow("other type") << QByteArray("ext4") << QByteArray("rpool/home") << false;
}

void TestFileSystemFilter::recognisesZfsDatasets()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, source);
    QFETCH(bool, dataset);
    MountEntry mount;
    mount.fsType = type;
    mount.source = source;
    QCOMPARE(isZfsDataset(mount), dataset);
    QVERIFY(!isListedFileSystem(mount)); // never both a block filesystem and a dataset
}

QTEST_APPLESS_MAIN(TestFileSystemFilter)
#include "tst_filesystemfilter.moc"
