#include "listingdecoder.h"
#include "mountid.h"
#include "mounttable.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <sys/statvfs.h>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    int exitCode = -1; // -1: crashed or hung
    QByteArray out, err;
};

Run run(const QString &program, const QStringList &arguments, const QString &mountTable = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!mountTable.isEmpty())
        environment.insert(u"QUILLBANK_MOUNTINFO"_s, mountTable);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLBANK_BIN_DIR "/") + program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

const QStringList listArguments{u"apfs"_s, u"list"_s, u"-plist"_s};

qint64 rootCapacity()
{
    struct statvfs info;
    return statvfs("/", &info) == 0 ? qint64(info.f_blocks * info.f_frsize) : -1;
}

} // namespace

class TestListingProgram : public QObject
{
    Q_OBJECT

    std::optional<MountEntry> m_root;
    bool m_mountIdsKnown = false;

private slots:
    void initTestCase()
    {
        QFile table(u"/proc/self/mountinfo"_s);
        if (!table.open(QIODevice::ReadOnly))
            QSKIP("no mount table here");
        m_mountIdsKnown = mountIdOf(table.handle()).has_value(); // not before Linux 5.8
        for (const MountEntry &entry : parseMountTable(table.readAll()))
            if (entry.mountPoint == "/")
                m_root = entry; // the last one listed at "/" is the one "/" leads to
        QVERIFY(m_root);
    }

    // "/" as statvfs sees it, through the listing program and through the
    // command-line tool, which finds the program beside itself.
    void listsThisMachine()
    {
        const Run listing = run(u"quillbank-listing"_s, listArguments);
        QVERIFY2(listing.exitCode == 0, listing.err.constData());
        QString error;
        const auto top = decodeListing(listing.out, &error);
        QVERIFY2(top, qPrintable(error));
        if (!m_root->source.startsWith("/dev/"))
            QSKIP("\"/\" is not on a block device here");
        const QString reference = QString::fromUtf8(m_root->source.sliced(5));
        const auto root = std::find_if(top->Containers.cbegin(), top->Containers.cend(),
                                       [&](auto &c) { return c.ContainerReference == reference; });
        QVERIFY(root != top->Containers.cend());
        QCOMPARE(root->CapacityCeiling, rootCapacity());
        QVERIFY(!root->APFSContainerUUID.isEmpty());
        if (QFile::exists(u"/usr/sbin/diskutil"_s))
            QSKIP("the system's disk utility is the command-line tool's default here");
        const Run cli = run(u"quillbank-cli"_s, {u"list"_s});
        QVERIFY2(cli.exitCode == 0, cli.err.constData());
        const QByteArray line = ',' + QByteArray::number(rootCapacity()) + ',';
        QVERIFY2(cli.out.contains(line) && cli.out.contains(root->APFSContainerUUID.toUtf8()),
                 cli.out.constData());
    }

    // The real "/" under a made-up device name, beside what is left out, and
    // the documented failures: status 2 for other arguments, 1 without a mount table.
    void runs_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QByteArray>("table"); // ROOT: the mount id of "/", OTHER: another one
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("err"); // how standard error begins
        QTest::addColumn<int>("containers"); // each one the real "/"; -1: no output
        const QByteArray mount(" 1 8:1 / / rw - ext4 /dev/quillbank\\040test rw\n");
        const QByteArray usage("usage: quillbank-listing apfs list -plist\n");
        const QString list = listArguments.join(u' ');
        QTest::newRow("mounted twice, beside tmpfs")
            << list << "ROOT" + mount + "90 1 0:50 / /tmp rw - tmpfs tmpfs rw\nROOT" + mount << 0
            << QByteArray() << 1;
        QTest::newRow("covered by another mount")
            << list << "OTHER" + mount << 0
            << QByteArray("quillbank-listing: /: covered by another mount\n") << 0;
        QTest::newRow("no mount table")
            << list << QByteArray() << 1
            << QByteArray("quillbank-listing: cannot read the mount table /nonexistent") << -1;
        QTest::newRow("no arguments") << QString() << mount << 2 << usage << -1;
    }
    void runs()
    {
        QFETCH(QString, arguments);
        QFETCH(QByteArray, table);
        QFETCH(QByteArray, err);
        QFETCH(int, containers);
        if (table.startsWith("OTHER") && !m_mountIdsKnown)
            QSKIP("this kernel does not tell which mount a path leads to");
        QTemporaryFile file;
        QVERIFY(file.open());
        const QString path = table.isNull() ? u"/nonexistent"_s : file.fileName();
        file.write(table.replace("ROOT", QByteArray::number(m_root->mountId))
                       .replace("OTHER", QByteArray::number(m_root->mountId + 1000)));
        file.close();
        const Run listing =
            run(u"quillbank-listing"_s, arguments.split(u' ', Qt::SkipEmptyParts), path);
        QTEST(listing.exitCode, "exitCode");
        QVERIFY2(err.isEmpty() ? listing.err.isEmpty() : listing.err.startsWith(err),
                 listing.err.constData());
        QCOMPARE(listing.out.isEmpty(), containers < 0);
        if (containers < 0)
            return;
        QString error;
        const auto top = decodeListing(listing.out, &error);
        QVERIFY2(top, qPrintable(error));
        QCOMPARE(int(top->Containers.size()), containers);
        for (const APFSInfo &info : top->Containers)
            QVERIFY(info.ContainerReference == u"quillbank test"_s &&
                    info.CapacityCeiling == rootCapacity());
    }
};

QTEST_APPLESS_MAIN(TestListingProgram)
#include "tst_listingprogram.moc"
