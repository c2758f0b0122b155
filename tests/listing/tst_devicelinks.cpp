#include "devicelinks.h"
#include "thismachine.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestDeviceLinks : public QObject
{
    Q_OBJECT
private slots:
    void decodesNames_data();
    void decodesNames();
    void findsLinksByDevice();
    void missingFolderAnswersNothing();
};

void TestDeviceLinks::decodesNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("uuid") << QByteArray("0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e")
                          << QStringLiteral("0b1e5c1a-7d52-4f5e-9d2c-3f1a2b3c4d5e");
    QTest::newRow("space") << QByteArray("My\\x20Passport") << QStringLiteral("My Passport");
    QTest::newRow("slash") << QByteArray("a\\x2fb") << QStringLiteral("a/b");
    QTest::newRow("markup") << QByteArray("Fotos\\x20&\\x20\\x3c\\xc3\\x84rger\\x3e")
                            << QStringLiteral("Fotos & <Ärger>");
    QTest::newRow("UTF-8 kept as is") << QByteArray("日本") << QStringLiteral("日本");
    QTest::newRow("invalid UTF-8") << QByteArray("a\\xffb") << QStringLiteral("a\uFFFDb");
    QTest::newRow("not an escape") << QByteArray("a\\x2g") << QStringLiteral("a\\x2g");
    QTest::newRow("cut short") << QByteArray("a\\x2") << QStringLiteral("a\\x2");
}

void TestDeviceLinks::decodesNames()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, expected);
    QCOMPARE(DeviceLinks::decodeLinkName(name), expected);
}

void TestDeviceLinks::findsLinksByDevice()
{
    const QString device = anyBlockDevice();
    if (device.isEmpty())
        QSKIP("no block device on this machine");
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QFile::link(device, folder.filePath(QStringLiteral("My\\x20Disk"))));
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), folder.filePath(QStringLiteral("char"))));
    QVERIFY(QFile::link(QStringLiteral("/nowhere"), folder.filePath(QStringLiteral("dangling"))));
    struct stat info;
    QCOMPARE(stat(QFile::encodeName(device).constData(), &info), 0);

    DeviceLinks links(QFile::encodeName(folder.path()));
    QCOMPARE(links.nameOf(info.st_rdev), std::optional(QStringLiteral("My Disk")));
    QCOMPARE(links.nameOf(info.st_rdev + 1), std::nullopt);
}

void TestDeviceLinks::missingFolderAnswersNothing()
{
    DeviceLinks links(QByteArrayLiteral("/nonexistent/by-uuid"));
    QCOMPARE(links.nameOf(0), std::nullopt);
}

QTEST_APPLESS_MAIN(TestDeviceLinks)
#include "tst_devicelinks.moc"
