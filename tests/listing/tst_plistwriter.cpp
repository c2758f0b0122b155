#include "listingdecoder.h"
#include "plistwriter.h"

#include <QTest>

#include <limits>

class TestPlistWriter : public QObject
{
    Q_OBJECT
private slots:
    void escapes_data();
    void escapes();
    void textSurvivesDecoding_data();
    void textSurvivesDecoding();
    void writesEveryKey();
    void writesEmptyListing();
};

using namespace Qt::StringLiterals;

namespace {

TopLevel oneVolume(const QString &name)
{
    const APFSVolume volume{QStringLiteral("v-1"), name, {}, 7};
    return TopLevel{{APFSInfo{QStringLiteral("c-1"), 100, 40, QStringLiteral("sda1"), {volume}}}};
}

QString firstVolumeName(const QByteArray &xml)
{
    QString error;
    const auto top = decodeListing(xml, &error);
    if (!top)
        return u"undecodable: "_s + error;
    return top->Containers.value(0).firstVolName();
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

void TestPlistWriter::textSurvivesDecoding_data()
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

void TestPlistWriter::textSurvivesDecoding()
{
    QFETCH(QString, name);
    QFETCH(QString, parsed);
    QCOMPARE(firstVolumeName(writePlist(oneVolume(name))), parsed);
}

// Every key the decoder requires is written, sizes up to the int64 limit.
void TestPlistWriter::writesEveryKey()
{
    constexpr qint64 most = std::numeric_limits<qint64>::max();
    const APFSVolume volume{u"1b2c-uuid"_s, u"/"_s, {}, most};
    const TopLevel top{{APFSInfo{u"1b2c-uuid"_s, most, 0, u"mapper/vg-root"_s, {volume}}}};
    QString error;
    const auto decoded = decodeListing(writePlist(top), &error);
    QVERIFY2(decoded, qPrintable(error));
    QCOMPARE(decoded->Containers.size(), 1);
    QVERIFY(*decoded == top);
}

void TestPlistWriter::writesEmptyListing()
{
    QString error;
    const auto decoded = decodeListing(writePlist(TopLevel{}), &error);
    QVERIFY2(decoded, qPrintable(error));
    QVERIFY(decoded->Containers.isEmpty());
}

QTEST_APPLESS_MAIN(TestPlistWriter)
#include "tst_plistwriter.moc"
