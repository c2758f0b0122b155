#include "mountid.h"
#include "rootmount.h"
#include "systemfilesystemlookup.h"

#include <QFile>
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
};

namespace
{

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

QTEST_APPLESS_MAIN(TestSystemFileSystemLookup)
#include "test_systemfilesystemlookup.moc"
