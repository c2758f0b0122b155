#include "listingprobe.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray listingText =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n"
    "<dict><key>Containers</key><array/></dict>\n</plist>\n";

} // namespace

// Each case runs a small shell script in the listing tool's place.
class TestListingProbe : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void run_data();
    void run();
    void missingProgram();
    void programNotExecutable();
    void largeOutputArrivesComplete();
    void errorClearedBySuccess();

private:
    QString writeScript(const QString &name, const QByteArray &body, bool executable = true);

    QTemporaryDir m_dir;
};

void TestListingProbe::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile listing(m_dir.filePath(u"listing.plist"_s));
    QVERIFY(listing.open(QIODevice::WriteOnly));
    listing.write(listingText);
}

QString TestListingProbe::writeScript(const QString &name, const QByteArray &body, bool executable)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write("#!/bin/sh\n" + body + '\n');
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

void TestListingProbe::run_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("error"); // part of errorString() after a failure

    const QByteArray cat = "cat \"$(dirname \"$0\")/listing.plist\"";
    QTest::newRow("listing, status 0") << cat + "; exit 0" << true << listingText << QString();
    QTest::newRow("listing, status 1")
        << cat + "; exit 1" << false << QByteArray() << u"exited with status 1"_s;
    QTest::newRow("status 2, no output")
        << QByteArray("exit 2") << false << QByteArray() << u"exited with status 2"_s;
    QTest::newRow("empty output, status 0")
        << QByteArray("exit 0") << true << QByteArray() << QString();
    QTest::newRow("killed by a signal")
        << cat + "; kill -9 $$" << false << QByteArray() << u"was killed by a signal"_s;
    QTest::newRow("exact arguments")
        << QByteArray("[ $# -eq 3 ] && [ \"$1\" = apfs ] && [ \"$2\" = list ] && "
                      "[ \"$3\" = -plist ] || exit 3\nprintf 'apfs list -plist'")
        << true << QByteArray("apfs list -plist") << QString();
    QTest::newRow("output in pieces") << QByteArray("printf one; sleep 0.2; printf two") << true
                                      << QByteArray("onetwo") << QString();
    QTest::newRow("standard error not captured")
        << QByteArray("echo 'expected message on stderr' >&2; printf out") << true
        << QByteArray("out") << QString();
}

void TestListingProbe::run()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, succeeds);
    QFETCH(QByteArray, output);
    QFETCH(QString, error);

    const QString program = writeScript(u"tool.sh"_s, script);
    ListingProbe probe(program);
    const std::optional<QByteArray> bytes = probe.runDiskutil();
    QCOMPARE(bytes.has_value(), succeeds);
    if (succeeds) {
        QCOMPARE(*bytes, output);
        QVERIFY(probe.errorString().isEmpty());
    } else {
        QVERIFY2(probe.errorString().contains(error), qPrintable(probe.errorString()));
        QVERIFY2(probe.errorString().startsWith(program), qPrintable(probe.errorString()));
    }
}

void TestListingProbe::missingProgram()
{
    const QString program = m_dir.filePath(u"no-such-tool"_s);
    ListingProbe probe(program);
    QVERIFY(!probe.runDiskutil());
    QVERIFY2(probe.errorString().startsWith(u"cannot start "_s + program),
             qPrintable(probe.errorString()));
}

void TestListingProbe::programNotExecutable()
{
    ListingProbe probe(writeScript(u"plain.sh"_s, "exit 0", false));
    QVERIFY(!probe.runDiskutil());
    QVERIFY2(probe.errorString().contains(u"cannot start"_s), qPrintable(probe.errorString()));
}

void TestListingProbe::largeOutputArrivesComplete()
{
    constexpr qsizetype size = 20'000'000;
    const QByteArray line = "0123456789abcdef\n";
    ListingProbe probe(writeScript(u"large.sh"_s, "yes 0123456789abcdef | head -c 20000000"));
    const std::optional<QByteArray> bytes = probe.runDiskutil();
    QVERIFY(bytes);
    QCOMPARE(bytes->size(), size);
    QVERIFY(*bytes == line.repeated(size / line.size() + 1).left(size));
}

void TestListingProbe::errorClearedBySuccess()
{
    ListingProbe probe(
        writeScript(u"flip.sh"_s, "[ -e \"$0.ran\" ] && exit 0; : > \"$0.ran\"; exit 5"));
    QVERIFY(!probe.runDiskutil());
    QVERIFY(probe.runDiskutil());
    QVERIFY(probe.errorString().isEmpty());
}

QTEST_GUILESS_MAIN(TestListingProbe)
#include "tst_listingprobe.moc"
