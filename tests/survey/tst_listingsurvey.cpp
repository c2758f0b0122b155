#include "listingsurvey.h"
#include "listingxml.h"
#include "scripts.h"

#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

// The listing tool's contract, with shell scripts in its place, and the
// conversion of its listing into the containers of a reading.
class TestListingSurvey : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(std::signal(SIGUSR1, [](int) {}) != SIG_ERR);
    }

    void probe_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QString>("error"); // part of errorString() after a failure
        QTest::newRow("status 0") << QByteArray("printf out") << true << QByteArray("out")
                                  << QString();
        QTest::newRow("output, then status 1") << QByteArray("printf out; exit 1") << false
                                               << QByteArray() << u"exited with status 1"_s;
        QTest::newRow("killed by a signal") << QByteArray("printf out; kill -9 $$") << false
                                            << QByteArray() << u"was killed by a signal"_s;
        QTest::newRow("exact arguments")
            << QByteArray("[ $# -eq 3 ] && [ \"$1\" = apfs ] && [ \"$2\" = list ] && "
                          "[ \"$3\" = -plist ] || exit 3\nprintf ok")
            << true << QByteArray("ok") << QString();
        // SIGUSR1 (a no-op here) interrupts the wait; the rest is still read.
        QTest::newRow("a signal while waiting")
            << QByteArray("printf 1; sleep 0.2; kill -USR1 $PPID; sleep 0.2; printf 2") << true
            << QByteArray("12") << QString();
        QTest::newRow("the output's read end is not inherited")
            << QByteArray("o=$(readlink /proc/$$/fd/1); for f in /proc/$$/fd/*; do [ $f = "
                          "/proc/$$/fd/1 ] || [ \"$(readlink $f)\" != \"$o\" ] || echo $f; done")
            << true << QByteArray() << QString();
        QTest::newRow("output in pieces, standard error apart")
            << QByteArray("printf 1; echo 'expected on stderr' >&2; sleep 0.2; printf two") << true
            << QByteArray("1two") << QString();
        QTest::newRow("32 MiB of output, the limit")
            << QByteArray("yes 0123456789abcdef | head -c 33554432") << true
            << QByteArray("0123456789abcdef\n").repeated(1973791).left(32 << 20) << QString();
        // Past the limits the tool is stopped with everything it started.
        QTest::newRow("closes its output, then hangs with a child")
            << QByteArray("printf out; exec >&-; sleep 30 & echo $! > \"$0.pid\"; wait") << false
            << QByteArray() << u" did not finish within 5 s and was stopped"_s;
        QTest::newRow("floods") << QByteArray("yes") << false << QByteArray()
                                << u" printed more than 32 MiB and was stopped"_s;
        QTest::newRow("background child prints to the end")
            << QByteArray("(sleep 0.5; printf late) & printf early") << true
            << QByteArray("earlylate") << QString();
        QTest::newRow("background child holds the output past the limit")
            << QByteArray("sleep 30 & echo $! > \"$0.pid\"; printf early") << false << QByteArray()
            << u" did not finish within 5 s and was stopped"_s;
    }
    void probe()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, succeeds);
        QFETCH(QString, error);
        const QString program = writeScript(m_dir, u"tool.sh"_s, script);
        QFile::remove(program + u".pid"_s);
        ListingProbe probe(program, {std::chrono::seconds(5), 32 << 20});
        const std::optional<QByteArray> bytes = probe.runDiskutil();
        QCOMPARE(bytes.has_value(), succeeds);
        if (succeeds)
            QTEST(*bytes, "output");
        else
            QVERIFY2(probe.errorString().startsWith(program) && probe.errorString().contains(error),
                     qPrintable(probe.errorString()));
        // The child is gone (or a zombie its new parent has yet to reap).
        const QByteArray child = fileContents(program + u".pid"_s).trimmed();
        if (child != "<unreadable>")
            QTRY_VERIFY(fileContents(u"/proc/%1/stat"_s.arg(QLatin1StringView(child)))
                            .split(' ')
                            .value(2) != "S");
    }

    void cannotStart_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << false << u"No such file or directory"_s;
        QTest::newRow("not executable") << true << u"Permission denied"_s;
    }
    void cannotStart()
    {
        QFETCH(bool, exists);
        const QString program = exists ? writeScript(m_dir, u"plain.sh"_s, "exit 0", false)
                                       : m_dir.filePath(u"no-such-tool"_s);
        ListingSurvey survey(program);
        QVERIFY(!survey.runDiskutil());
        QFETCH(QString, reason);
        QCOMPARE(survey.errorString(), u"cannot start "_s + program + u": "_s + reason);
    }

    void containersOfTheListing()
    {
        const QByteArray xml =
            listingXml({{"C1", "disk3", 1000, -5, {{"A &amp; B", 1}, {"B, x", 2}, {"C", 3}}},
                        {"C2", "disk4", 7, 6, {}}});
        ListingSurvey survey;
        const auto containers = survey.decode(xml);
        QVERIFY2(containers, qPrintable(survey.errorString()));
        QCOMPARE(containers->size(), 2);
        QCOMPARE(containers->at(0).copyText(), u"disk3,A & B,1000,-5,6,C1"_s);
        QCOMPARE(containers->at(0).volNames, u"A & B, B, x, C"_s);
        QCOMPARE(containers->at(1).copyText(), u"disk4,,7,6,0,C2"_s);
        QCOMPARE(containers->at(1).volNames, QString());
        QVERIFY(containers->at(0).id != containers->at(1).id && !containers->at(0).id.isNull());

        QVERIFY(!survey.decode("<plist><dict/></plist>"));
        QVERIFY2(survey.errorString().startsWith(u"the listing does not decode: missing key"_s),
                 qPrintable(survey.errorString()));
    }
};

QTEST_GUILESS_MAIN(TestListingSurvey)
#include "tst_listingsurvey.moc"
