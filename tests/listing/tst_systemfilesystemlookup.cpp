#include "mountid.h"
#include "systemfilesystemlookup.h"
#include "thismachine.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

class TestSystemFileSystemLookup : public QObject
{
    Q_OBJECT
private slots:
    void measuresRootMount();
    void refusesCoveredMount();
    void reportsMissingMountPoint();
    void noIdsWithoutDevice();
    void idsFromLinksFirst();
    void idsFromSuperblockWithoutLink();
};

namespace {

bool kernelKnowsMountIds()
{
    const int fd = open("/", O_PATH | O_CLOEXEC);
    const bool known = mountIdOf(fd).has_value();
    close(fd);
    return known;
}

} // namespace

void TestSystemFileSystemLookup::measuresRootMount()
{
    const auto root = rootMount();
    if (!root)
        QSKIP("no mount table");
    struct statvfs expected;
    QCOMPARE(statvfs("/", &expected), 0);
    SystemFileSystemLookup lookup;
    QString error;
    const auto usage = lookup.spaceUsage(*root, &error);
    QVERIFY2(usage, qPrintable(error));
    QCOMPARE(usage->blocks, quint64(expected.f_blocks));
    QCOMPARE(usage->fragmentSize, quint64(expected.f_frsize));
    QCOMPARE(usage->fsid, quint64(expected.f_fsid));
}

void TestSystemFileSystemLookup::refusesCoveredMount()
{
    auto root = rootMount();
    if (!root || !kernelKnowsMountIds())
        QSKIP("this kernel does not tell mount ids");
    root->mountId += 1000; // a mount that "/" no longer leads to
    SystemFileSystemLookup lookup;
    QString error;
    QCOMPARE(lookup.spaceUsage(*root, &error), std::nullopt);
    QCOMPARE(error, QStringLiteral("covered by another mount"));
}

void TestSystemFileSystemLookup::reportsMissingMountPoint()
{
    MountEntry mount;
    mount.mountPoint = "/nonexistent/quillbank/mount";
    SystemFileSystemLookup lookup;
    QString error;
    QCOMPARE(lookup.spaceUsage(mount, &error), std::nullopt);
    QVERIFY(!error.isEmpty());
}

void TestSystemFileSystemLookup::noIdsWithoutDevice()
{
    MountEntry mount;
    mount.source = "/dev/quillbank-nonexistent";
    SystemFileSystemLookup lookup;
    QCOMPARE(lookup.ids(mount), FileSystemIds());
}

void TestSystemFileSystemLookup::idsFromLinksFirst()
{
    const QString device = anyBlockDevice();
    if (device.isEmpty())
        QSKIP("no block device on this machine");
    QTemporaryDir byUuid;
    QTemporaryDir byLabel;
    QVERIFY(QFile::link(device, byUuid.filePath(QStringLiteral("62C2-9F1D"))));
    QVERIFY(QFile::link(device, byLabel.filePath(QStringLiteral("My\\x20Passport"))));
    MountEntry mount;
    mount.source = QFile::encodeName(device);
    SystemFileSystemLookup lookup(QFile::encodeName(byUuid.path()),
                                  QFile::encodeName(byLabel.path()));
    QCOMPARE(lookup.ids(mount),
             (FileSystemIds{QStringLiteral("62C2-9F1D"), QStringLiteral("My Passport")}));
}

// A source that udev has no link for is read by libblkid; an image file
// stands in for the device.
void TestSystemFileSystemLookup::idsFromSuperblockWithoutLink()
{
#ifndef QUILLBANK_HAVE_BLKID
    QSKIP("built without libblkid");
#endif
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("disk.img"));
    const FileSystemIds expected{QStringLiteral("a1b2c3d4-1111-4222-8333-444455556666"),
                                 QStringLiteral("photos")};
    if (!makeExt4Image(image, expected.label, expected.uuid))
        QSKIP("mkfs.ext4 cannot make an image here");
    MountEntry mount;
    mount.source = QFile::encodeName(image);
    SystemFileSystemLookup lookup(QByteArrayLiteral("/nonexistent"),
                                  QByteArrayLiteral("/nonexistent"));
    QCOMPARE(lookup.ids(mount), expected);
}

QTEST_APPLESS_MAIN(TestSystemFileSystemLookup)
#include "tst_systemfilesystemlookup.moc"
