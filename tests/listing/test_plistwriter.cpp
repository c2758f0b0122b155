#include "plisttree.h"
#include "plistwriter.h"

#include <QTest>

class TestPlistWriter : public QObject
{
    Q_OBJECT
private slots:
    void escapes_data();
    void escapes();
    void textSurvivesParsing_data();
    void textSurvivesParsing();
    void writesEveryKey();
    void writesEmptyListing();
};

using namespace Qt::StringLiterals;

namespace
{

TopLevel oneVolume(const QString &name)
{
    const APFSVolume volume{QStringLiteral("v-1"), name, {}, 7};
    return TopLevel{{APFSInfo{QStringLiteral("c-1"), 100, 40, QStringLiteral("sda1"), {volume}}}};
}

QVariantMap firstContainer(const QVariant &root)
{
    return root.toMap().value(QStringLiteral("Containers")).toList().value(0).toMap();
}

QString firstVolumeName(const QByteArray &xml)
{
    QString error;
    const auto root = readPlistTree(xml, &error);
    if (!root)
        return u"unreadable: "_s + error;
    const QVariant volume =
        firstContainer(*root).value(QStringLiteral("Volumes")).toList().value(0);
    return volume.toMap().value(QStringLiteral("Name")).toString();
}

} // namespace

void TestPlistWriter::escapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("markup") << QStringLiteral("a&b<c>d\"e'f")
                            << QStringLiteral("a&amp;b&lt;c&gt;d&quot;e'f");
    QTest::newRow("already escaped stays literal")
        << QStringLiteral("&amp;") << QStringLiteral("&amp;amp;");
    QTest::newRow("control characters") << QStringLiteral("a\x01"
                                                          "b\x1f"
                                                          "c")
                                        << QStringLiteral("a\uFFFDb\uFFFDc");
    QTest::newRow("tab and newline kept") << QStringLiteral("a\tb\nc") << QStringLiteral("a\tb\nc");
    QTest::newRow("carriage return") << QStringLiteral("a\rb") << QStringLiteral("a&#13;b");
    QTest::newRow("non-characters")
        << QString(QChar(0xFFFE)) + QChar(0xFFFF) << QStringLiteral("\uFFFD\uFFFD");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u'x' << QStringLiteral("\uFFFDx");
    QTest::newRow("non-ASCII kept")
        << QStringLiteral("Ärger 日本 🐧") << QStringLiteral("Ärger 日本 🐧");
}

void TestPlistWriter::escapes()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(xmlEscaped(text), expected);
}

void TestPlistWriter::textSurvivesParsing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parsed");
    QTest::newRow("label with markup and non-ASCII")
        << QStringLiteral("Fotos & <Ärger> 日本") << QStringLiteral("Fotos & <Ärger> 日本");
    QTest::newRow("end of CDATA") << QStringLiteral("]]>") << QStringLiteral("]]>");
    QTest::newRow("carriage return and newline")
        << QStringLiteral("a\r\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("NUL byte") << QString(QChar(0)) + u'x' << QStringLiteral("\uFFFDx");
    QTest::newRow("escape character") << QStringLiteral("\x1b[31m") << QStringLiteral("\uFFFD[31m");
}

void TestPlistWriter::textSurvivesParsing()
{
    QFETCH(QString, name);
    QFETCH(QString, parsed);
    QCOMPARE(firstVolumeName(writePlist(oneVolume(name))), parsed);
}

void TestPlistWriter::writesEveryKey()
{
    const APFSVolume volume{
        QStringLiteral("1b2c-uuid"), QStringLiteral("/"), {}, 9223372036854775807};
    const TopLevel top{{APFSInfo{QStringLiteral("1b2c-uuid"),
                                 9223372036854775807,
                                 0,
                                 QStringLiteral("mapper/vg-root"),
                                 {volume}}}};
    QString error;
    const auto root = readPlistTree(writePlist(top), &error);
    QVERIFY2(root, qPrintable(error));
    const QVariantMap container = firstContainer(*root);
    QCOMPARE(container.value(QStringLiteral("APFSContainerUUID")), QVariant(u"1b2c-uuid"_s));
    QCOMPARE(container.value(QStringLiteral("CapacityCeiling")),
             QVariant(qint64(9223372036854775807)));
    QCOMPARE(container.value(QStringLiteral("CapacityFree")), QVariant(qint64(0)));
    QCOMPARE(container.value(QStringLiteral("ContainerReference")), QVariant(u"mapper/vg-root"_s));
    const QVariantMap parsedVolume =
        container.value(QStringLiteral("Volumes")).toList().value(0).toMap();
    QCOMPARE(parsedVolume.value(QStringLiteral("APFSVolumeUUID")), QVariant(u"1b2c-uuid"_s));
    QCOMPARE(parsedVolume.value(QStringLiteral("Name")), QVariant(u"/"_s));
    QCOMPARE(parsedVolume.value(QStringLiteral("Roles")), QVariant(QVariantList()));
    QCOMPARE(parsedVolume.value(QStringLiteral("CapacityInUse")),
             QVariant(qint64(9223372036854775807)));
}

void TestPlistWriter::writesEmptyListing()
{
    QString error;
    const auto root = readPlistTree(writePlist(TopLevel{}), &error);
    QVERIFY2(root, qPrintable(error));
    QCOMPARE(root->toMap().value(QStringLiteral("Containers")), QVariant(QVariantList()));
}

QTEST_APPLESS_MAIN(TestPlistWriter)
#include "test_plistwriter.moc"
