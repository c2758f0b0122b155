#include "blkidprobe.h"
#include "thismachine.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestBlkidProbe : public QObject
{
    Q_OBJECT
private slots:
    void readsUuidAndLabel();
    void nothingFromUnformattedOrMissing();
};

// libblkid reads images as it reads devices, so a small ext4 image stands in
// for a disk that udev has no link for.
void TestBlkidProbe::readsUuidAndLabel()
{
#ifndef QUILLBANK_HAVE_BLKID
    QSKIP("built without libblkid");
#endif
    QTemporaryDir dir;
    const QString image = dir.filePath(u"disk.img"_s);
    const QString label = u"F&<Ä>日"_s;
    const QString uuid = u"0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e"_s;
    if (!makeExt4Image(image, label, uuid))
        QSKIP("mkfs.ext4 cannot make an image here");
    QCOMPARE(probeFileSystemIds(QFile::encodeName(image)), (FileSystemIds{uuid, label}));
}

void TestBlkidProbe::nothingFromUnformattedOrMissing()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(u"blank.img"_s));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(1 << 20));
    file.close();
    QCOMPARE(probeFileSystemIds(QFile::encodeName(file.fileName())), FileSystemIds());
    QCOMPARE(probeFileSystemIds(QByteArrayLiteral("/nonexistent/disk")), FileSystemIds());
}

QTEST_APPLESS_MAIN(TestBlkidProbe)
#include "tst_blkidprobe.moc"
