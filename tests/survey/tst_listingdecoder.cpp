#include "listingdecoder.h"
#include "plistreader.h"

#include <QFile>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// One dictionary's entries as (key, value XML), in document order.
using Entries = QList<std::pair<QByteArray, QByteArray>>;

QByteArray str(const QByteArray &text)
{
    return "<string>" + text + "</string>";
}

QByteArray integer(const QByteArray &text)
{
    return "<integer>" + text + "</integer>";
}

QByteArray dict(const Entries &entries)
{
    QByteArray xml = "<dict>";
    for (const auto &[key, value] : entries)
        xml += "\n<key>" + key + "</key>" + value;
    return xml + "</dict>";
}

QByteArray array(const QList<QByteArray> &values)
{
    return "<array>" + values.join() + "</array>";
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
        if (entry.first == key) {
            entry.second = value;
            return entries;
        }
    }
    entries.append({key, value});
    return entries;
}

// An ignored key of every property-list type, nested ones included.
Entries withExtras(Entries entries)
{
    const Entries extras{{"XString", str("x")},
                         {"XInteger", integer("99999999999999999999")},
                         {"XReal", "<real>1.5</real>"},
                         {"XTrue", "<true/>"},
                         {"XFalse", "<false/>"},
                         {"XDate", "<date>2020-01-02T03:04:05Z</date>"},
                         {"XData", "<data>AAEC</data>"},
                         {"XArray", array({"<dict/>", "<array/>", str("y")})},
                         {"XDict", dict({{"Name", integer("5")}})}};
    return extras + entries;
}

Entries volumeEntries(const QByteArray &name = "Data", const QByteArray &inUse = "1000")
{
    return {{"APFSVolumeUUID", str("851469E3-C3AD-4158-9B1F-2ADB47C04076")},
            {"CapacityInUse", integer(inUse)},
            {"Name", str(name)},
            {"Roles", array({str("Data")})}};
}

Entries containerEntries(const QList<QByteArray> &volumes = {dict(volumeEntries())})
{
    return {{"APFSContainerUUID", str("36CF3DCA-CFC3-4D92-BC91-76E00A104716")},
            {"CapacityCeiling", integer("500000")},
            {"CapacityFree", integer("200000")},
            {"ContainerReference", str("disk3")},
            {"Volumes", array(volumes)}};
}

QByteArray document(const QByteArray &rootValue)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
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

QByteArray withInUse(const QByteArray &inUse)
{
    return withVolume(volumeEntries("Data", inUse));
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
    void realListings_data();
    void realListings();
    void realListingValues();
    void rejected_data();
    void rejected();
    void integers_data();
    void integers();
    void ignoresUnknownKeysAtEveryLevel();
    void emptyVolumesAndRoles();
    void textIsUnescaped();
    void depthLimitIsExact();
};

void TestListingDecoder::realListings_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<int>>("volumeCounts"); // one per container; absent: must fail

    QTest::newRow("01 three containers, one line")
        << u"01-nimble-10.14-three-containers.plist"_s << QList<int>{4, 4, 1};
    QTest::newRow("02 catalina") << u"02-nimble-10.15-catalina-system-data.plist"_s
                                 << QList<int>{5};
    QTest::newRow("03 time machine")
        << u"03-nimble-11.1-applesilicon-timemachine.plist"_s << QList<int>{4, 2, 6, 1};
    QTest::newRow("04 single") << u"04-cauliflowervest-10.13-single-container.plist"_s
                               << QList<int>{4};
    QTest::newRow("07 macos 26") << u"07-broza-macos26-applesilicon-3containers-anonymised.plist"_s
                                 << QList<int>{4, 2, 6};
    QTest::newRow("10 space indented")
        << u"10-sapling-eden-10.14-7volumes-space-indented.plist"_s << QList<int>{7};
    QTest::newRow("11 empty containers")
        << u"11-opencoreconfigurator-empty-containers-array.plist"_s << QList<int>{};
}

void TestListingDecoder::realListings()
{
    QFETCH(QString, file);
    QFETCH(QList<int>, volumeCounts);
    const QByteArray bytes = readFixture(file);
    if (bytes.isEmpty())
        QSKIP("shared listings are not available");

    QString error;
    const std::optional<TopLevel> top = decodeListing(bytes, &error);
    QVERIFY2(top, qPrintable(error));
    QList<int> counts;
    for (const APFSInfo &container : top->Containers)
        counts.append(int(container.Volumes.size()));
    QCOMPARE(counts, volumeCounts);
}

void TestListingDecoder::realListingValues()
{
    const QByteArray one = readFixture(u"01-nimble-10.14-three-containers.plist"_s);
    const QByteArray three = readFixture(u"03-nimble-11.1-applesilicon-timemachine.plist"_s);
    if (one.isEmpty() || three.isEmpty())
        QSKIP("shared listings are not available");
    QVERIFY(!one.contains('\n'));

    const std::optional<TopLevel> first = decodeListing(one);
    QVERIFY(first);
    const APFSInfo &disk1 = first->Containers.at(0);
    QCOMPARE(disk1.APFSContainerUUID, u"205816A4-BF3B-4A3F-9BEE-6339732D74D9"_s);
    QCOMPARE(disk1.CapacityFree, 87074734080);
    QCOMPARE(disk1.Volumes.at(0).CapacityInUse, 397379031040);
    QCOMPARE(disk1.Volumes.at(0).Roles, QStringList());
    QCOMPARE(disk1.Volumes.at(1).Roles, QStringList{u"Preboot"_s});
    QCOMPARE(first->Containers.at(2).ContainerReference, u"disk6"_s);

    const std::optional<TopLevel> third = decodeListing(three);
    QVERIFY(third);
    const APFSInfo &backup = third->Containers.at(3);
    QCOMPARE(backup.CapacityCeiling, 8412272971776);
    QCOMPARE(backup.CapacityFree, 8062311170048);
    QCOMPARE(backup.ContainerReference, u"disk5"_s);
    QCOMPARE(backup.firstVolName(), u"Backups of Michael\u2019s MBP_13_2020"_s);
}

void TestListingDecoder::rejected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // a part of the one-line error

    const QStringList shared{u"05-cauliflowervest-no-containers-empty-dict.plist"_s,
                             u"06-cauliflowervest-10.13-diskutil-list.plist"_s};
    for (const QString &file : shared) {
        const QByteArray bytes = readFixture(file);
        if (!bytes.isEmpty())
            QTest::newRow(qPrintable(file.left(2))) << bytes << u"missing key \"Containers\""_s;
    }

    const Entries volume = volumeEntries();
    const QByteArray okVolume = dict(volume);
    for (const char *key : {"APFSVolumeUUID", "Name", "Roles", "CapacityInUse"})
        QTest::addRow("volume without %s", key)
            << withVolume(without(volume, key))
            << u"missing key \"%1\" in volume 1 of container 1"_s.arg(QLatin1StringView(key));
    const Entries container = containerEntries();
    for (const char *key :
         {"APFSContainerUUID", "CapacityCeiling", "CapacityFree", "ContainerReference", "Volumes"})
        QTest::addRow("container without %s", key)
            << listing({dict(container), dict(without(container, key))})
            << u"missing key \"%1\" in container 2"_s.arg(QLatin1StringView(key));
    QTest::newRow("root without Containers")
        << document(dict({{"containers", array({})}})) << u"missing key \"Containers\""_s;

    QTest::newRow("key differs in case")
        << listing({dict(with(without(container, "CapacityFree"), "Capacityfree", integer("1")))})
        << u"missing key \"CapacityFree\" in container 1"_s;
    QTest::newRow("capacity as string")
        << listing({dict(with(container, "CapacityFree", str("200000")))})
        << u"expected <integer> but found <string> for key \"CapacityFree\" in container 1"_s;
    QTest::newRow("roles not an array")
        << withVolume(with(volume, "Roles", str("Data"))) << u"expected <array>"_s;
    QTest::newRow("role not a string")
        << withVolume(with(volume, "Roles", array({str("Data"), "<true/>"})))
        << u"expected <string> but found <true>"_s;
    QTest::newRow("volumes not an array")
        << listing({dict(with(container, "Volumes", okVolume))}) << u"expected <array>"_s;
    QTest::newRow("volume not a dict")
        << listing({dict(with(container, "Volumes", array({okVolume, str("x")})))})
        << u"expected <dict> but found <string> in volume 2 of container 1"_s;
    QTest::newRow("containers not an array")
        << document(dict({{"Containers", dict(container)}})) << u"expected <array>"_s;

    const QByteArray max = QByteArray::number(std::numeric_limits<qint64>::max());
    QTest::newRow("in-use sum overflows")
        << listing({dict(containerEntries({okVolume, dict(volumeEntries("A", max))}))})
        << u"adds up beyond a signed 64-bit integer in container 1"_s;

    QTest::newRow("duplicate key")
        << listing({dict(with(container, "XFree", integer("1"))).replace("XFree", "CapacityFree")})
        << u"duplicate key \"CapacityFree\" in container 1"_s;
    QTest::newRow("duplicate ignored key")
        << listing({dict(with(container, "X", dict({{"a", "<true/>"}, {"a", "<true/>"}})))})
        << u"duplicate key \"a\""_s;

    QTest::newRow("deep nesting under an ignored key")
        << withVolume(with(volume, "X", nested(100000))) << u"nested more than 64 levels"_s;
    QTest::newRow("root not a dict") << document(array({})) << u"expected <dict>"_s;
    QTest::newRow("empty plist") << document({}) << u"not a property list"_s;
    QTest::newRow("two root values")
        << document(dict({{"Containers", array({})}}) + "<dict/>") << u"more than one value"_s;
    QTest::newRow("root element not plist")
        << QByteArray("<dict><key>Containers</key><array/></dict>") << u"not <plist>"_s;
    QTest::newRow("unknown element in ignored value")
        << listing({}, {{"X", array({"<widget/>"})}}) << u"unknown element <widget>"_s;
    QTest::newRow("key without value")
        << document("<dict><key>Containers</key><array/><key>X</key></dict>")
        << u"a value is missing"_s;
    QTest::newRow("text between values")
        << document("<dict>oops<key>Containers</key><array/></dict>") << u"unexpected text"_s;
    QTest::newRow("true with content")
        << listing({}, {{"X", "<true>no</true>"}}) << u"must be empty"_s;
    QTest::newRow("truncated") << listing({dict(container)}).chopped(40)
                               << u"not a property list"_s;
    QTest::newRow("content after plist") << listing({}) + "<plist/>" << u"not a property list"_s;
    QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11)
                             << u"not a property list"_s;
    QTest::newRow("binary plist") << QByteArray("bplist00\xd1\x01\x02") << u"binary"_s;
    QTest::newRow("empty input") << QByteArray() << u"not a property list: empty input"_s;
    QTest::newRow("entity declaration")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaa\">"
                      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><plist><dict>"
                      "<key>Containers</key><array/><key>X</key><string>&b;</string>"
                      "</dict></plist>")
        << u"entity declarations are not allowed"_s;
    QTest::newRow("undeclared entity")
        << listing({}, {{"X", str("&nope;")}}) << u"not a property list"_s;
}

void TestListingDecoder::rejected()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    QString error;
    QVERIFY(!decodeListing(bytes, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY2(!error.contains(u'\n'), qPrintable(error));
}

void TestListingDecoder::integers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("value");

    constexpr qint64 max = std::numeric_limits<qint64>::max();
    constexpr qint64 min = std::numeric_limits<qint64>::min();
    QTest::newRow("plain") << QByteArray("349067743232") << true << qint64(349067743232);
    QTest::newRow("zero") << QByteArray("0") << true << qint64(0);
    QTest::newRow("negative") << QByteArray("-4096") << true << qint64(-4096);
    QTest::newRow("whitespace around") << QByteArray("\n\t 42 \n") << true << qint64(42);
    QTest::newRow("int64 max") << QByteArray::number(max) << true << max;
    QTest::newRow("int64 min") << QByteArray::number(min) << true << min;
    QTest::newRow("max plus one") << QByteArray("9223372036854775808") << false << qint64(0);
    QTest::newRow("min minus one") << QByteArray("-9223372036854775809") << false << qint64(0);
    QTest::newRow("fraction") << QByteArray("1.5") << false << qint64(0);
    QTest::newRow("plus sign") << QByteArray("+5") << false << qint64(0);
    QTest::newRow("text") << QByteArray("lots") << false << qint64(0);
    QTest::newRow("minus alone") << QByteArray("-") << false << qint64(0);
    QTest::newRow("empty") << QByteArray() << false << qint64(0);
}

void TestListingDecoder::integers()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(qint64, value);

    QString error;
    const std::optional<TopLevel> top = decodeListing(withInUse(text), &error);
    QCOMPARE(bool(top), valid);
    if (valid)
        QCOMPARE(top->Containers.at(0).Volumes.at(0).CapacityInUse, value);
    else
        QVERIFY2(error.contains(u"for key \"CapacityInUse\" in volume 1"_s), qPrintable(error));
}

void TestListingDecoder::ignoresUnknownKeysAtEveryLevel()
{
    const QByteArray plain = listing({dict(containerEntries())});
    const QByteArray extra = listing(
        {dict(withExtras(containerEntries({dict(withExtras(volumeEntries()))})))}, withExtras({}));

    const std::optional<TopLevel> expected = decodeListing(plain);
    QString error;
    const std::optional<TopLevel> actual = decodeListing(extra, &error);
    QVERIFY(expected);
    QVERIFY2(actual, qPrintable(error));
    QCOMPARE(*actual, *expected);
    const APFSInfo &container = actual->Containers.at(0);
    QCOMPARE(container.CapacityCeiling, 500000);
    QCOMPARE(container.CapacityFree, 200000);
    QCOMPARE(container.ContainerReference, u"disk3"_s);
    QCOMPARE(container.Volumes.at(0).Name, u"Data"_s);
    QCOMPARE(container.Volumes.at(0).Roles, QStringList{u"Data"_s});
}

void TestListingDecoder::emptyVolumesAndRoles()
{
    const QByteArray bytes =
        listing({dict(containerEntries({})),
                 dict(containerEntries({dict(with(volumeEntries("B", "-5"), "Roles", "<array/>")),
                                        dict(volumeEntries("C", "7"))}))});
    const std::optional<TopLevel> top = decodeListing(bytes);
    QVERIFY(top);
    QCOMPARE(top->Containers.size(), 2);
    QVERIFY(top->Containers.at(0).Volumes.isEmpty());
    QCOMPARE(top->Containers.at(1).volNames(), u"B, C"_s);
    QCOMPARE(top->Containers.at(1).Volumes.at(0).Roles, QStringList());
    QCOMPARE(top->Containers.at(1).totalInUse(), 2);
}

void TestListingDecoder::textIsUnescaped()
{
    const QByteArray bytes = withVolume(with(volumeEntries(), "Name",
                                             "<string>A &amp; B &lt;"
                                             "<![CDATA[ & C]]></string>"));
    const std::optional<TopLevel> top = decodeListing(bytes);
    QVERIFY(top);
    QCOMPARE(top->Containers.at(0).firstVolName(), u"A & B < & C"_s);
}

void TestListingDecoder::depthLimitIsExact()
{
    // The root dictionary is the first level, so an ignored key of the root
    // may hold maxDepth - 1 levels of arrays.
    constexpr int limit = PlistReader::maxDepth;
    QVERIFY(decodeListing(listing({}, {{"X", nested(limit - 1)}})));
    QVERIFY(!decodeListing(listing({}, {{"X", nested(limit)}})));
}

QTEST_GUILESS_MAIN(TestListingDecoder)
#include "tst_listingdecoder.moc"
