#include "clirunner.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCliList : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString probe(const QByteArray &output, int status)
    {
        return writeProbe(m_dir, output, status);
    }

    static int run(const QStringList &args, QString *out, QString *err)
    {
        return runCliCapturing(args, out, err);
    }

private slots:
    void exitStatuses_data()
    {
        const QByteArray good = "<plist version=\"1.0\"><dict><key>Containers</key><array><dict>"
                                "<key>APFSContainerUUID</key><string>C-1</string>"
                                "<key>CapacityCeiling</key><integer>100</integer>"
                                "<key>CapacityFree</key><integer>-5</integer>"
                                "<key>ContainerReference</key><string>disk2</string>"
                                "<key>Volumes</key><array><dict>"
                                "<key>APFSVolumeUUID</key><string>V</string>"
                                "<key>Name</key><string>A, B</string><key>Roles</key><array/>"
                                "<key>CapacityInUse</key><integer>7</integer></dict></array>"
                                "</dict></array></dict></plist>";
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("errorMentions");
        QTest::newRow("success") << QStringList{QStringLiteral("list"), QStringLiteral("--probe"),
                                                probe(good, 0)}
                                 << 0 << QStringLiteral("disk2,\"A, B\",100,-5,7,C-1\n")
                                 << QString();
        QTest::newRow("no containers")
            << QStringList{QStringLiteral("list"),
                           QStringLiteral("--probe=") +
                               probe("<plist><dict><key>Containers</key><array/></dict></plist>",
                                     0)}
            << 0 << QString() << QString();
        QTest::newRow("tool fails")
            << QStringList{QStringLiteral("list"), QStringLiteral("--probe"), probe(good, 1)} << 3
            << QString() << QStringLiteral("status 1");
        QTest::newRow("no such tool")
            << QStringList{QStringLiteral("list"), QStringLiteral("--probe"),
                           QStringLiteral("/nonexistent/tool")}
            << 3 << QString() << QStringLiteral("/nonexistent/tool");
        QTest::newRow("undecodable")
            << QStringList{QStringLiteral("list"), QStringLiteral("--probe"),
                           probe("<plist><dict/></plist>", 0)}
            << 4 << QString() << QStringLiteral("Containers");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("list"), QStringLiteral("-x")}
                                        << 2 << QString() << QStringLiteral("-x");
        QTest::newRow("missing value")
            << QStringList{QStringLiteral("list"), QStringLiteral("--probe")} << 2 << QString()
            << QStringLiteral("--probe");
        QTest::newRow("stray argument") << QStringList{QStringLiteral("list"), QStringLiteral("x")}
                                        << 2 << QString() << QStringLiteral("list");
        QTest::newRow("no command") << QStringList{} << 2 << QString() << QStringLiteral("command");
        QTest::newRow("unknown command")
            << QStringList{QStringLiteral("lst")} << 2 << QString() << QStringLiteral("lst");
    }
    void exitStatuses()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, errorMentions);
        QString out, err;
        QTEST(run(args, &out, &err), "status");
        QTEST(out, "out");
        if (errorMentions.isEmpty()) {
            QCOMPARE(err, QString());
        } else {
            QVERIFY2(err.startsWith(u"quillbank-cli: "), qPrintable(err));
            QVERIFY2(err.section(u'\n', 0, 0).contains(errorMentions), qPrintable(err));
        }
    }

    void helpDocumentsTheCommands()
    {
        QString out, err;
        QCOMPARE(run({QStringLiteral("--help")}, &out, &err), 0);
        QVERIFY(out.contains(u"list [--probe PROGRAM]"));
        QVERIFY(out.contains(u"Exit status"));
    }
};

QTEST_GUILESS_MAIN(TestCliList)
#include "tst_clilist.moc"
