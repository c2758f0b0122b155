#include "listingdecoder.h"
#include "thismachine.h"

#include <QFileInfo>
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
    void cliListsThisMachine();
    void readsGivenMountTable();
    void failsWithoutMountTable();
    void rejectsOtherArguments_data();
    void rejectsOtherArguments();
};

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString &program, const QStringList &arguments, const QString &mountTable = {})
{
    QProcess process;
    if (!mountTable.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QUILLBANK_MOUNTINFO"_s, mountTable);
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(QUILLBANK_BIN_DIR "/") + program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

Run runListing(const QStringList &arguments, const QString &mountTable = {})
{
    return run(u"quillbank-listing"_s, arguments, mountTable);
}

const QStringList listArguments{u"apfs"_s, u"list"_s, u"-plist"_s};

// The listing program's view of this machine, as the survey decodes it.
std::optional<TopLevel> listThisMachine(QString *error)
{
    const Run listing = runListing(listArguments);
    if (listing.exitCode != 0) {
        *error = u"quillbank-listing failed: "_s + QString::fromUtf8(listing.err);
        return std::nullopt;
    }
    return decodeListing(listing.out, error);
}

// The device "/" is mounted from, without "/dev/"; empty when it is no block device.
QString rootReference()
{
    const auto root = rootMount();
    if (!root || !root->source.startsWith("/dev/"))
        return QString();
    return QString::fromUtf8(root->source.sliced(5));
}

std::optional<APFSInfo> rootContainer(const TopLevel &top)
{
    for (const APFSInfo &container : top.Containers) {
        if (container.ContainerReference == rootReference())
            return container;
    }
    return std::nullopt;
}

qint64 rootCapacity()
{
    struct statvfs info;
    return statvfs("/", &info) == 0 ? qint64(info.f_blocks * info.f_frsize) : -1;
}

// Whether the command-line tool's output has the line of this container:
// conRef,firstVolName,capacity,free,totalUsed,conUUID, where the name may hold commas.
bool listsContainer(const QByteArray &out, qint64 capacity, const QString &uuid)
{
    for (const QString &line : QString::fromUtf8(out).split(u'\n')) {
        const QStringList fields = line.split(u',');
        if (fields.size() >= 6 && fields.last() == uuid &&
            fields[fields.size() - 4] == QString::number(capacity))
            return true;
    }
    return false;
}

} // namespace

void TestListingProgram::listsThisMachine()
{
    QString error;
    const auto top = listThisMachine(&error);
    QVERIFY2(top, qPrintable(error));
    if (rootReference().isEmpty())
        QSKIP("\"/\" is not on a block device here");
    const auto root = rootContainer(*top);
    QVERIFY(root);
    QCOMPARE(root->CapacityCeiling, rootCapacity());
    QCOMPARE(root->Volumes.size(), 1);
    const APFSVolume &volume = root->Volumes[0];
    QVERIFY(!volume.APFSVolumeUUID.isEmpty());
    QCOMPARE(volume.APFSVolumeUUID, root->APFSContainerUUID);
    QVERIFY(volume.Roles.isEmpty());
}

// Without --probe the command-line tool finds the listing program beside itself.
void TestListingProgram::cliListsThisMachine()
{
    if (QFileInfo::exists(u"/usr/sbin/diskutil"_s))
        QSKIP("the system's disk utility is the default listing tool here");
    if (rootReference().isEmpty())
        QSKIP("\"/\" is not on a block device here");
    QString error;
    const auto top = listThisMachine(&error);
    QVERIFY2(top, qPrintable(error));
    const auto root = rootContainer(*top);
    QVERIFY(root);
    const Run cli = run(u"quillbank-cli"_s, {u"list"_s});
    QVERIFY2(cli.exitCode == 0, cli.err.constData());
    QVERIFY2(listsContainer(cli.out, rootCapacity(), root->APFSContainerUUID), cli.out.constData());
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
    const Run listing = runListing(listArguments, table.fileName());
    QCOMPARE(listing.exitCode, 0);
    QString error;
    const auto top = decodeListing(listing.out, &error);
    QVERIFY2(top, qPrintable(error));
    QCOMPARE(top->Containers.size(), 1);
    QCOMPARE(top->Containers[0].ContainerReference, u"quillbank test"_s);
    QCOMPARE(top->Containers[0].CapacityCeiling, rootCapacity());
}

void TestListingProgram::failsWithoutMountTable()
{
    const Run listing = runListing(listArguments, u"/nonexistent/mountinfo"_s);
    QCOMPARE(listing.exitCode, 1);
    QVERIFY(listing.out.isEmpty());
    QVERIFY(listing.err.contains("/nonexistent/mountinfo"));
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
    const Run listing = runListing(arguments);
    QCOMPARE(listing.exitCode, 2);
    QVERIFY(listing.out.isEmpty());
    QVERIFY(listing.err.startsWith("usage: quillbank-listing apfs list -plist"));
}

QTEST_APPLESS_MAIN(TestListingProgram)
#include "tst_listingprogram.moc"
