#include "listingdecoder.h"
#include "plistreader.h"

#include <QFile>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// One dictionary's entries as (key, value XML), in document order.
using Entries = QList<std::pair<QByteArray, QByteArray>>;

QByteArray tag(const char *name, const QByteArray &text)
{
    return '<' + QByteArray(name) + '>' + text + "</" + name + '>';
}

QByteArray dict(const Entries &entries)
{
    QByteArray xml;
    for (const auto &[key, value] : entries)
        xml += "\n<key>" + key + "</key>" + value;
    return tag("dict", xml);
}

QByteArray array(const QList<QByteArray> &values)
{
    return tag("array", values.join());
}

Entries without(Entries entries, const QByteArray &key)
{
    entries.removeIf([&](const auto &entry) { return entry.first == key; });
    return entries;
}

// Replaces the value of key, or adds the entry when the key is new.
Entries with(Entries entries, const QByteArray &key, const QByteArray &value)
{
    for (auto &entry : entries) {
        if (entry.first == key)
            return entry.second = value, entries;
    }
    return entries << std::pair{key, value};
}

Entries volumeEntries(const QByteArray &name = "Data", const QByteArray &inUse = "1000")
{
    return {{"APFSVolumeUUID", tag("string", "851469E3-C3AD-4158-9B1F-2ADB47C04076")},
            {"CapacityInUse", tag("integer", inUse)},
            {"Name", tag("string", name)},
            {"Roles", array({tag("string", "Data")})}};
}

Entries containerEntries(const QList<QByteArray> &volumes = {dict(volumeEntries())})
{
    return {{"APFSContainerUUID", tag("string", "36CF3DCA-CFC3-4D92-BC91-76E00A104716")},
            {"CapacityCeiling", tag("integer", "500000")},
            {"CapacityFree", tag("integer", "200000")},
            {"ContainerReference", tag("string", "disk3")},
            {"Volumes", array(volumes)}};
}

QByteArray document(const QByteArray &rootValue)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD "
           "PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           rootValue + "\n</plist>\n";
}

QByteArray listing(const QList<QByteArray> &containers, const Entries &extra = {})
{
    return document(dict(extra + Entries{{"Containers", array(containers)}}));
}

QByteArray withVolume(const Entries &volume)
{
    return listing({dict(containerEntries({dict(volume)}))});
}

QByteArray nested(int depth)
{
    return QByteArray("<array>").repeated(depth) + QByteArray("</array>").repeated(depth);
}

QByteArray readFixture(const QString &name)
{
    QFile file(QStringLiteral(QUILLBANK_SHARED_FIXTURES) + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestListingDecoder : public QObject
{
    Q_OBJECT
private slots:
    // Real captured listings. The expected numbers were read with Python's
    // plistlib, independently of this decoder.
    void realListings_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("volumeCounts");
        QTest::addColumn<qint64>("firstFree");
        QTest::addColumn<qint64>("firstInUse");
        QTest::newRow("01") << u"01-nimble-10.14-three-containers.plist"_s << QList{4, 4, 1}
                            << qint64(87074734080) << qint64(402764664832);
        QTest::newRow("03") << u"03-nimble-11.1-applesilicon-timemachine.plist"_s
                            << QList{4, 2, 6, 1} << qint64(505155584) << qint64(14176256);
        QTest::newRow("07") << u"07-broza-macos26-applesilicon-3containers-anonymised.plist"_s
                            << QList{4, 2, 6} << qint64(504479744) << qint64(14852096);
        QTest::newRow("11") << u"11-opencoreconfigurator-empty-containers-array.plist"_s
                            << QList<int>{} << qint64(0) << qint64(0);
    }
    void realListings()
    {
        QFETCH(QString, file);
        const QByteArray bytes = readFixture(file);
        if (bytes.isEmpty())
            QSKIP("shared listings are not available");
        QString error;
        const std::optional<TopLevel> top = decodeListing(bytes, &error);
        QVERIFY2(top, qPrintable(error));
        QList<int> counts;
        for (const APFSInfo &container : top->Containers)
            counts.append(int(container.Volumes.size()));
        QTEST(counts, "volumeCounts");
        if (!counts.isEmpty()) {
            QTEST(top->Containers.first().CapacityFree, "firstFree");
            QTEST(*top->Containers.first().totalInUse(), "firstInUse");
        }
    }

    void rejected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // the end of the one-line error
        const Entries volume = volumeEntries();
        for (const char *key : {"APFSVolumeUUID", "Name", "Roles", "CapacityInUse"})
            QTest::addRow("volume without %s", key)
                << withVolume(without(volume, key))
                << u"missing key \"%1\" in volume 1 of container 1"_s.arg(QLatin1StringView(key));
        const Entries container = containerEntries();
        for (const char *key : {"APFSContainerUUID", "CapacityCeiling", "CapacityFree",
                                "ContainerReference", "Volumes"})
            QTest::addRow("container without %s", key)
                << listing({dict(container), dict(without(container, key))})
                << u"missing key \"%1\" in container 2"_s.arg(QLatin1StringView(key));
        QTest::newRow("no Containers")
            << document(dict({})) << u"missing key \"Containers\" in the root value"_s;
        QTest::newRow("capacity as string")
            << listing({dict(with(container, "CapacityFree", tag("string", "200000")))})
            << u"expected <integer> but found <string> for key \"CapacityFree\" in container 1"_s;
        QTest::newRow("volume not a dict")
            << listing({dict(with(container, "Volumes", array({dict(volume), "<string/>"})))})
            << u"expected <dict> but found <string> in volume 2 of container 1"_s;
        const QByteArray max = QByteArray::number(std::numeric_limits<qint64>::max());
        QTest::newRow("in-use sum overflows")
            << listing({dict(containerEntries({dict(volume), dict(volumeEntries("A", max))}))})
            << u"adds up beyond a signed 64-bit integer in container 1"_s;
        QTest::newRow("duplicate key")
            << listing({dict(with(container, "X", "<true/>")).replace("X<", "CapacityFree<")})
            << u"duplicate key \"CapacityFree\" in container 1"_s;
        QTest::newRow("deep nesting")
            << withVolume(with(volume, "X", nested(100000)))
            << u"nested more than 64 levels deep for key \"X\" in volume 1 of container 1"_s;
        QTest::newRow("truncated")
            << listing({dict(container)}).chopped(40)
            << u"not a property list: Premature end of document at line 14, column 59"_s;
        QTest::newRow("empty input") << QByteArray() << u"not a property list: empty input"_s;
        QTest::newRow("binary list")
            << QByteArray("bplist00\xd1\x01\x02") << u"binary property lists are not supported"_s;
        // A reader's error paths, each with the reason a user can act on.
        const auto plist = [](const QByteArray &inside) -> QByteArray {
            return "<plist>" + inside + "</plist>";
        };
        QTest::newRow("root not <plist>")
            << QByteArray("<dict/>") << u"the root element is <dict>, not <plist>"_s;
        QTest::newRow("no value") << plist("") << u"a value is missing before </plist>"_s;
        QTest::newRow("two values") << plist("<dict><key>Containers</key><array/></dict><dict/>")
                                    << u"holds more than one value"_s;
        QTest::newRow("stray text, quoted to 40 characters")
            << plist(QByteArray(41, 'a') + "<dict/>")
            << u"unexpected text \"%1...\""_s.arg(QString(40, u'a'));
        QTest::newRow("stray text of 40 characters, in full")
            << plist(QByteArray(40, 'a') + "<dict/>")
            << u"unexpected text \"%1\""_s.arg(QString(40, u'a'));
        QTest::newRow("key without value")
            << plist("<dict><key>K</key></dict>") << u"a value is missing before </dict>"_s;
        QTest::newRow("value without key") << plist("<dict><string>K</string></dict>")
                                           << u"expected <key> in <dict> but found <string>"_s;
        QTest::newRow("<true> with text")
            << listing({dict(with(container, "X", "<true>1</true>"))}) << u"<true> must be empty"_s;
        QTest::newRow("element inside a value")
            << listing({dict(with(container, "X", "<string>a<b/></string>"))})
            << u"unexpected <b> inside a value"_s;
        QTest::newRow("undeclared entity")
            << listing({dict(with(container, "X", "<string>&nbsp;</string>"))})
            << u"unknown entity &nbsp;"_s;
        QTest::newRow("XML error, where") << plist("<dict>") << u"mismatch at line 1, column 21"_s;
        QTest::newRow("unknown element, even where ignored")
            << listing({dict(with(container, "X", "<strin>1</strin>"))})
            << u"not a property list: unknown element <strin>"_s;
        QTest::newRow("entity declaration")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY a \"aaaa\">]>"
                          "<plist><dict><key>Containers</key><array/><key>X</key>"
                          "<string>&a;</string></dict></plist>")
            << u"entity declarations are not allowed"_s;
    }
    void rejected()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QString error;
        QVERIFY(!decodeListing(bytes, &error));
        QVERIFY2(error.endsWith(message) && !error.contains(u'\n'), qPrintable(error));
    }

    // Keys of no interest are passed over, whatever their kind.
    void otherKeysPassedOver()
    {
        Entries volume = volumeEntries();
        for (const char *kind : {"string", "integer", "real", "date", "data"})
            volume = with(volume, kind, tag(kind, "1"));
        volume = with(with(volume, "yes", "<true/>"), "no", "<false/>");
        volume = with(volume, "nested", array({dict({{"k", tag("string", "v")}})}));
        volume = with(volume, "deepest", nested(59)); // 64 levels, the most allowed
        QString error;
        QVERIFY2(decodeListing(withVolume(volume), &error), qPrintable(error));
    }

    void integers_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("value");
        constexpr qint64 max = std::numeric_limits<qint64>::max();
        constexpr qint64 min = std::numeric_limits<qint64>::min();
        QTest::newRow("plain") << QByteArray("349067743232") << true << qint64(349067743232);
        QTest::newRow("negative") << QByteArray("-4096") << true << qint64(-4096);
        QTest::newRow("whitespace around") << QByteArray("\n\t 42 \n") << true << qint64(42);
        QTest::newRow("int64 max") << QByteArray::number(max) << true << max;
        QTest::newRow("int64 min") << QByteArray::number(min) << true << min;
        QTest::newRow("max plus one") << QByteArray("9223372036854775808") << false << qint64(0);
        QTest::newRow("min minus one") << QByteArray("-9223372036854775809") << false << qint64(0);
        QTest::newRow("20 digits") << QByteArray("99999999999999999999") << false << qint64(0);
        QTest::newRow("fraction") << QByteArray("1.5") << false << qint64(0);
        QTest::newRow("empty") << QByteArray() << false << qint64(0);
    }
    void integers()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        const auto top = decodeListing(withVolume(volumeEntries("Data", text)));
        QCOMPARE(bool(top), valid);
        if (valid)
            QTEST(top->Containers.at(0).Volumes.at(0).CapacityInUse, "value");
    }
};

QTEST_GUILESS_MAIN(TestListingDecoder)
#include "tst_listingdecoder.moc"
