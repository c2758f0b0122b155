#include "plisttree.h"
#include "thismachine.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <sys/statvfs.h>

using namespace Qt::StringLiterals;

class TestListingProgram : public QObject
{
    Q_OBJECT
private slots:
    void listsThisMachine();
    void readsGivenMountTable();
    void failsWithoutMountTable();
    void rejectsOtherArguments_data();
    void rejectsOtherArguments();
};

namespace
{

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runListing(const QStringList &arguments, const QString &mountTable = QString())
{
    QProcess process;
    if (!mountTable.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QUILLBANK_MOUNTINFO"_s, mountTable);
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(QUILLBANK_BIN_DIR "/quillbank-listing"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

const QStringList listArguments{u"apfs"_s, u"list"_s, u"-plist"_s};

QVariantMap containerWithReference(const QVariant &root, const QString &reference)
{
    for (const QVariant &container : root.toMap().value(u"Containers"_s).toList()) {
        if (container.toMap().value(u"ContainerReference"_s) == reference)
            return container.toMap();
    }
    return {};
}

qint64 rootCapacity()
{
    struct statvfs info;
    return statvfs("/", &info) == 0 ? qint64(info.f_blocks * info.f_frsize) : -1;
}

} // namespace

void TestListingProgram::listsThisMachine()
{
    const Run run = runListing(listArguments);
    QCOMPARE(run.exitCode, 0);
    QString error;
    const auto plist = readPlistTree(run.out, &error);
    QVERIFY2(plist, qPrintable(error));
    const auto root = rootMount();
    if (!root || !root->source.startsWith("/dev/"))
        QSKIP("\"/\" is not on a block device here");
    const QVariantMap container =
        containerWithReference(*plist, QString::fromUtf8(root->source.sliced(5)));
    QVERIFY2(!container.isEmpty(), run.out.constData());
    QCOMPARE(container.value(u"CapacityCeiling"_s).toLongLong(), rootCapacity());
    const QVariantList volumes = container.value(u"Volumes"_s).toList();
    QCOMPARE(volumes.size(), 1);
    QVERIFY(!volumes[0].toMap().value(u"APFSVolumeUUID"_s).toString().isEmpty());
    QCOMPARE(volumes[0].toMap().value(u"APFSVolumeUUID"_s),
             container.value(u"APFSContainerUUID"_s));
}

// The real root mount under a made-up device twice, beside mounts to skip.
void TestListingProgram::readsGivenMountTable()
{
    const auto root = rootMount();
    if (!root)
        QSKIP("no mount table");
    QTemporaryFile table;
    QVERIFY(table.open());
    const QByteArray id = QByteArray::number(root->mountId);
    table.write(id +
                " 1 8:1 / / rw - ext4 /dev/quillbank\\040test rw\n"
                "90 1 0:50 / /tmp rw - tmpfs tmpfs rw\n" +
                id + " 1 8:1 / / rw - ext4 /dev/quillbank\\040test rw\n");
    table.close();
    const Run run = runListing(listArguments, table.fileName());
    QCOMPARE(run.exitCode, 0);
    QString error;
    const auto plist = readPlistTree(run.out, &error);
    QVERIFY2(plist, qPrintable(error));
    const QVariantList containers = plist->toMap().value(u"Containers"_s).toList();
    QCOMPARE(containers.size(), 1);
    const QVariantMap container = containers[0].toMap();
    QCOMPARE(container.value(u"ContainerReference"_s), QVariant(u"quillbank test"_s));
    QCOMPARE(container.value(u"CapacityCeiling"_s).toLongLong(), rootCapacity());
}

void TestListingProgram::failsWithoutMountTable()
{
    const Run run = runListing(listArguments, u"/nonexistent/mountinfo"_s);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.contains("/nonexistent/mountinfo"));
}

void TestListingProgram::rejectsOtherArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList();
    QTest::newRow("without -plist") << QStringList({u"apfs"_s, u"list"_s});
    QTest::newRow("one more") << QStringList({u"apfs"_s, u"list"_s, u"-plist"_s, u"disk1"_s});
    QTest::newRow("other format") << QStringList({u"apfs"_s, u"list"_s, u"-json"_s});
    QTest::newRow("other order") << QStringList({u"list"_s, u"apfs"_s, u"-plist"_s});
}

void TestListingProgram::rejectsOtherArguments()
{
    QFETCH(QStringList, arguments);
    const Run run = runListing(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.startsWith("usage: quillbank-listing apfs list -plist"));
}

QTEST_APPLESS_MAIN(TestListingProgram)
#include "test_listingprogram.moc"
