#include "mounttable.h"

#include <QTest>

class TestMountTable : public QObject
{
    Q_OBJECT
private slots:
    void unescapes_data();
    void unescapes();
    void readsFields_data();
    void readsFields();
    void skipsMalformedLines_data();
    void skipsMalformedLines();
    void keepsTableOrder();
};

void TestMountTable::unescapes_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain") << QByteArray("/home") << QByteArray("/home");
    QTest::newRow("space") << QByteArray("/media/My\\040Disk") << QByteArray("/media/My Disk");
    QTest::newRow("tab newline backslash")
        << QByteArray("a\\011b\\012c\\134d") << QByteArray("a\tb\nc\\d");
    QTest::newRow("escape at the end") << QByteArray("x\\040") << QByteArray("x ");
    QTest::newRow("high byte") << QByteArray("\\303\\251") << QByteArray("\xc3\xa9");
    QTest::newRow("too short") << QByteArray("x\\04") << QByteArray("x\\04");
    QTest::newRow("not octal") << QByteArray("\\089") << QByteArray("\\089");
    QTest::newRow("beyond a byte") << QByteArray("\\400") << QByteArray("\\400");
    QTest::newRow("lone backslash") << QByteArray("a\\b") << QByteArray("a\\b");
}

void TestMountTable::unescapes()
{
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, expected);
    QCOMPARE(unescapeMountField(field), expected);
}

void TestMountTable::readsFields_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<MountEntry>("expected");
    QTest::newRow("optional fields")
        << QByteArray("36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 shared:2 - ext3 /dev/root "
                      "rw,errors=continue")
        << MountEntry{36, 35, 98, 0, "/mnt1", "/mnt/parent", "ext3", "/dev/root"};
    QTest::newRow("no optional fields")
        << QByteArray("27 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard")
        << MountEntry{27, 1, 254, 0, "/", "/", "ext4", "/dev/vda"};
    QTest::newRow("escaped mount point and source")
        << QByteArray("52 50 8:17 / /media/me/My\\040Passport rw - exfat /dev/disk\\040x rw")
        << MountEntry{52, 50, 8, 17, "/", "/media/me/My Passport", "exfat", "/dev/disk x"};
    QTest::newRow("subtype and large minor")
        << QByteArray("56 28 0:1048575 / /home/me/remote rw - fuse.sshfs me@server:/ rw")
        << MountEntry{56, 28, 0, 1048575, "/", "/home/me/remote", "fuse.sshfs", "me@server:/"};
    QTest::newRow("no super options")
        << QByteArray("44 28 0:35 /@home /home rw - btrfs /dev/sda1")
        << MountEntry{44, 28, 0, 35, "/@home", "/home", "btrfs", "/dev/sda1"};
}

void TestMountTable::readsFields()
{
    QFETCH(QByteArray, line);
    QFETCH(MountEntry, expected);
    const QList<MountEntry> entries = parseMountTable(QByteArray(line + '\n'));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first(), expected);
}

void TestMountTable::skipsMalformedLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("no separator") << QByteArray("27 1 254:0 / / rw ext4 /dev/vda rw");
    QTest::newRow("nothing after separator") << QByteArray("27 1 254:0 / / rw - ext4");
    QTest::newRow("bad device") << QByteArray("27 1 254 / / rw - ext4 /dev/vda rw");
    QTest::newRow("bad id") << QByteArray("x 1 254:0 / / rw - ext4 /dev/vda rw");
    QTest::newRow("negative major") << QByteArray("27 1 -1:0 / / rw - ext4 /dev/vda rw");
    QTest::newRow("fields missing") << QByteArray("27 1 254:0 / - ext4 /dev/vda rw");
}

void TestMountTable::skipsMalformedLines()
{
    QFETCH(QByteArray, line);
    const QByteArray good("28 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n");
    const QList<MountEntry> entries = parseMountTable(QByteArray(line + '\n' + good));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().mountId, 28);
}

void TestMountTable::keepsTableOrder()
{
    QFile file(QStringLiteral(QUILLBANK_TEST_DATA "/desktop.mountinfo"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<MountEntry> entries = parseMountTable(file.readAll());
    QCOMPARE(entries.size(), 28); // every line of the table, none lost or merged
    QCOMPARE(entries.first().mountPoint, QByteArray("/sys"));
    QCOMPARE(entries.last().mountId, 58);
}

QTEST_APPLESS_MAIN(TestMountTable)
#include "tst_mounttable.moc"
