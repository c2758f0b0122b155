#include "DiskInfo.h"
#include "listingprobe.h"
#include "stubs.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray goodListing =
    "<plist version=\"1.0\"><dict><key>Containers</key><array><dict>"
    "<key>APFSContainerUUID</key><string>C-1</string>"
    "<key>CapacityCeiling</key><integer>1000</integer>"
    "<key>CapacityFree</key><integer>400</integer>"
    "<key>ContainerReference</key><string>disk2</string>"
    "<key>Volumes</key><array><dict><key>APFSVolumeUUID</key><string>V</string>"
    "<key>Name</key><string>A</string><key>Roles</key><array/>"
    "<key>CapacityInUse</key><integer>600</integer></dict></array>"
    "</dict></array></dict></plist>";

// The store's listing source, pointed at one stand-in program after another.
class SwitchableProbe : public ListingSource
{
public:
    void use(const QString &program) { m_probe = std::make_unique<ListingProbe>(program); }
    std::optional<QByteArray> runDiskutil() override { return m_probe->runDiskutil(); }
    QString errorString() const override { return m_probe->errorString(); }

private:
    std::unique_ptr<ListingProbe> m_probe = std::make_unique<ListingProbe>(QString());
};

struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList &args)
{
    QProcess cli;
    cli.start(QStringLiteral(QUILLBANK_BIN_DIR "/quillbank-cli"), args);
    if (!cli.waitForFinished(120000) || cli.exitStatus() != QProcess::NormalExit)
        return {};
    return {cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}

} // namespace

class TestToolFaults : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes, bool executable = false)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        if (executable)
            QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    }

    // Stand-in listing tools, each a shell script that misbehaves one way.
    void addFaultRows()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("100 MB of output") << u"huge"_s << 4 << u"does not decode"_s;
        QTest::newRow("binary garbage") << u"garbage"_s << 4 << u"does not decode"_s;
        QTest::newRow("no output") << u"silent"_s << 4 << u"does not decode"_s;
        QTest::newRow("no output, failing") << u"failing"_s << 3 << u"status 7"_s;
        QTest::newRow("killed by a signal") << u"killed"_s << 3 << u"killed by a signal"_s;
        QTest::newRow("listing, then killed") << u"halfway"_s << 3 << u"killed by a signal"_s;
        QTest::newRow("not executable") << u"plain"_s << 3 << u"cannot start"_s;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeFile(u"listing"_s, goodListing);
        QByteArray garbage(64 * 1024, Qt::Uninitialized);
        QRandomGenerator random(6);
        for (char &byte : garbage)
            byte = char(random.bounded(256));
        writeFile(u"garbage.bin"_s, garbage);

        const QByteArray cat = "cat '" + path(u"listing"_s).toUtf8() + "'\n";
        writeFile(u"good"_s, "#!/bin/sh\n" + cat, true);
        // An unfinished document 100 MB long: the probe must read it all and
        // the decoder must still say no.
        writeFile(u"huge"_s,
                  "#!/bin/sh\nprintf '<plist version=\"1.0\"><dict><key>Junk</key><array>'\n"
                  "yes '<string>0123456789abcdef</string>' | head -c 104857600\n",
                  true);
        writeFile(u"garbage"_s, "#!/bin/sh\ncat '" + path(u"garbage.bin"_s).toUtf8() + "'\n", true);
        writeFile(u"silent"_s, "#!/bin/sh\nexit 0\n", true);
        writeFile(u"failing"_s, "#!/bin/sh\nexit 7\n", true);
        writeFile(u"killed"_s, "#!/bin/sh\nkill -KILL $$\n", true);
        writeFile(u"halfway"_s, "#!/bin/sh\n" + cat + "kill -TERM $$\n", true);
        writeFile(u"plain"_s, "#!/bin/sh\n" + cat);
    }

    void storeUnchanged_data() { addFaultRows(); }
    void storeUnchanged()
    {
        QFETCH(QString, tool);
        auto source = std::make_unique<SwitchableProbe>();
        SwitchableProbe *probe = source.get();
        DiskInfo store(std::make_unique<FixedClock>(100.0), std::move(source));
        probe->use(path(u"good"_s));
        store.checkContainers();
        QCOMPARE(store.globalConData().size(), 1);
        const QList<DataPoint> history = store.globalConData();
        const QList<DataContainerInfo> entries = store.containerData();

        probe->use(path(tool));
        store.checkContainers();
        QCOMPARE(store.globalConData(), history);
        QCOMPARE(store.containerData(), entries);
        QVERIFY(store.containerList().isEmpty());
    }

    void cliReportsOneLine_data() { addFaultRows(); }
    void cliReportsOneLine()
    {
        QFETCH(QString, tool);
        QFETCH(QString, mentions);
        const CliRun run = runCli({u"list"_s, u"--probe"_s, path(tool)});
        QTEST(run.status, "status");
        QCOMPARE(run.out, QByteArray());
        const QString err = QString::fromUtf8(run.err);
        QVERIFY2(err.startsWith(u"quillbank-cli: "), qPrintable(err));
        QVERIFY2(err.endsWith(u'\n') && err.count(u'\n') == 1, qPrintable(err));
        QVERIFY2(err.contains(mentions), qPrintable(err));
    }

    void cliListsTheGoodTool()
    {
        const CliRun run = runCli({u"list"_s, u"--probe"_s, path(u"good"_s)});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QByteArray("disk2,A,1000,400,600,C-1\n"));
        QCOMPARE(run.err, QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestToolFaults)
#include "tst_toolfaults.moc"
