#include "histories.h"
#include "historydecoder.h"
#include "historyencoder.h"
#include "ids.h"

#include <QTest>

#include <bit>

namespace {

QByteArray encoded(const QList<DataPoint> &history)
{
    const std::optional<QByteArray> json = encodeHistory(history);
    return json.value_or(QByteArray());
}

// One reading with one container; rows below break it in one place each.
const char *const validDocument =
    R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","date":1.5,"containers":[)"
    R"({"id":"7F9619FF-8B86-D011-B42D-00C04FC964FF","conUUID":"C","conRef":"disk3",)"
    R"("capacity":500,"free":120,"volNames":"System, Data","firstVolName":"System",)"
    R"("totalUsed":370}]}])";

QByteArray changed(const char *from, const char *to)
{
    QByteArray json(validDocument);
    Q_ASSERT(json.contains(from));
    return json.replace(from, to);
}

// An unknown member x whose value nests arrays down to the given depth of
// the document, in each reading or in each container.
QByteArray nestedTo(int depth, bool inContainer)
{
    const int arrays = depth - (inContainer ? 4 : 2);
    const char *const before = inContainer ? R"("conRef")" : R"("date")";
    const QByteArray member =
        "\"x\":" + QByteArray(arrays, '[') + QByteArray(arrays, ']') + ',' + before;
    return changed(before, member.constData());
}

} // namespace

class TestHistoryCodec : public QObject
{
    Q_OBJECT

private slots:
    void roundTripKeepsEveryField();
    void writesCompactJson();
    void readsAcceptedForms_data();
    void readsAcceptedForms();
    void rejects_data();
    void rejects();
};

// Every field reads back exactly, dates bit for bit (-0.0 included).
void TestHistoryCodec::roundTripKeepsEveryField()
{
    const QList<DataPoint> history = awkwardHistory();
    QString error;
    const auto decoded = decodeHistory(encoded(history), &error);
    QVERIFY2(decoded, qPrintable(error));
    QCOMPARE(*decoded, history);
    for (qsizetype i = 0; i < history.size(); ++i) {
        QCOMPARE(std::bit_cast<quint64>(decoded->at(i).date),
                 std::bit_cast<quint64>(history.at(i).date));
        for (qsizetype j = 0; j < history.at(i).containers.size(); ++j)
            QCOMPARE(decoded->at(i).containers.at(j).volNames,
                     history.at(i).containers.at(j).volNames);
    }
}

void TestHistoryCodec::writesCompactJson()
{
    const ContainerInfo c{*parseUuid(QByteArrayView("7f9619ff-8b86-d011-b42d-00c04fc964ff")),
                          u"C"_qs,
                          u"disk3"_qs,
                          500,
                          -120,
                          u"System, Data"_qs,
                          QString::fromUtf16(u"System\x7f\x80\xd800\xdc00\xdfff"),
                          370};
    const QList<DataPoint> history{
        {*parseUuid(QByteArrayView("6f9619ff-8b86-d011-b42d-00c04fc964ff")), 1.5, {c}},
        {*parseUuid(QByteArrayView("5f9619ff-8b86-d011-b42d-00c04fc964ff")), -0.0, {}}};
    QCOMPARE(encoded(history),
             QByteArray(R"([{"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","date":1.5,)"
                        R"("containers":[{"id":"7F9619FF-8B86-D011-B42D-00C04FC964FF",)"
                        R"("conUUID":"C","conRef":"disk3","capacity":500,"free":-120,)"
                        R"("volNames":"System, Data","firstVolName":"System)"
                        "\x7f\xc2\x80\xf0\x90\x80\x80\xef\xbf\xbd"
                        R"(",)"
                        R"("totalUsed":370}]},{"id":"5F9619FF-8B86-D011-B42D-00C04FC964FF",)"
                        R"("date":-0.0,"containers":[]}])"));
    // JSON cannot hold these dates: no file rather than a wrong one.
    for (const double date : {qQNaN(), qInf(), -qInf()}) {
        QString error;
        QVERIFY(
            !encodeHistory({DataPoint{newId(), 1.0, {}}, DataPoint{newId(), date, {}}}, &error));
        QVERIFY2(error.contains(u"reading 2"), qPrintable(error));
    }
}

void TestHistoryCodec::readsAcceptedForms_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("readings");
    QTest::newRow("empty array") << QByteArray("[]") << 0;
    QTest::newRow("valid") << QByteArray(validDocument) << 1;
    QTest::newRow("extra members of every kind")
        << changed(R"("date":1.5,)",
                   R"("extra":{"deep":[1,-2.5e3,"\u00e9",true,false,null,{}]},"date":1.5,"z":[],)")
        << 1;
    QTest::newRow("members in another order")
        << QByteArray(R"([{"containers":[{"totalUsed":370,"firstVolName":"System",)"
                      R"("volNames":"System, Data","free":120,"capacity":500,"conRef":"disk3",)"
                      R"("conUUID":"C","id":"7F9619FF-8B86-D011-B42D-00C04FC964FF"}],"date":1.5,)"
                      R"("id":"6F9619FF-8B86-D011-B42D-00C04FC964FF"}])")
        << 1;
    QTest::newRow("int64 limits") << changed(R"("capacity":500,"free":120)",
                                             R"("capacity":9223372036854775807,)"
                                             R"("free":-9223372036854775808)")
                                  << 1;
    QTest::newRow("escaped texts")
        << changed(R"("System, Data")", R"("\ud83d\ude00 \"\\\/\b")") << 1;
    QTest::newRow("512 levels in a reading") << nestedTo(512, false) << 1;
    QTest::newRow("512 levels in a container") << nestedTo(512, true) << 1;
}

void TestHistoryCodec::readsAcceptedForms()
{
    QFETCH(QByteArray, json);
    QString error;
    const auto history = decodeHistory(json, &error);
    QVERIFY2(history, qPrintable(error));
    QTEST(int(history->size()), "readings");
}

void TestHistoryCodec::rejects_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("reason"); // a word the error message must hold

    // Missing members, one per row.
    for (const char *member :
         {R"("id":"6F9619FF-8B86-D011-B42D-00C04FC964FF",)", R"("date":1.5,)", R"("conUUID":"C",)",
          R"("conRef":"disk3",)", R"("capacity":500,)", R"("free":120,)",
          R"("volNames":"System, Data",)", R"("firstVolName":"System",)"}) {
        const QByteArray name = QByteArray(member).split('"').value(1);
        QTest::addRow("missing %s", name.constData()) << changed(member, "") << u"missing"_qs;
    }
    QTest::newRow("missing totalUsed") << changed(R"(,"totalUsed":370)", "") << u"missing"_qs;

    // Values of the wrong kind.
    QTest::newRow("null id") << changed(R"("id":"6F9619FF-8B86-D011-B42D-00C04FC964FF")",
                                        R"("id":null)")
                             << u"string"_qs;
    QTest::newRow("capacity as string")
        << changed(R"("capacity":500)", R"("capacity":"500")") << u"integer"_qs;
    QTest::newRow("date as string") << changed(R"("date":1.5)", R"("date":"1.5")") << u"date"_qs;
    QTest::newRow("date beyond double")
        << changed(R"("date":1.5)", R"("date":1e400)") << u"date"_qs;

    // Integers that are not JSON integers within int64.
    for (const char *number : {"1.5", "1e3", "9223372036854775808", "-9223372036854775809"})
        QTest::addRow("free %s", number)
            << changed(R"("free":120)", QByteArray("\"free\":").append(number).constData())
            << u"integer"_qs;

    // Ids that are not UUID texts.
    for (const char *id :
         {"6F9619FF-8B86-D011-B42D-00C04FC964F", "6F9619FF-8B86-D011-B42D-00C04FC964FG", ""})
        QTest::addRow("id %s", id)
            << changed("6F9619FF-8B86-D011-B42D-00C04FC964FF", id) << u"UUID"_qs;

    // Documents that are not (valid) JSON.
    QTest::newRow("top level object") << QByteArray(R"({"a":[]})") << u"array"_qs;
    QTest::newRow("empty input") << QByteArray() << u"JSON"_qs;
    QTest::newRow("truncated") << QByteArray(validDocument).chopped(2) << u""_qs;
    QTest::newRow("text after the array") << QByteArray(validDocument) + " []" << u"follows"_qs;
    QTest::newRow("invalid UTF-8 in a text")
        << changed("System, Data", "System\xff Data") << u"UTF-8"_qs;
    QTest::newRow("bad escape in a text") << changed("System, Data", "\\x41") << u"escape"_qs;
    for (const char *member :
         {R"("x":tru,)", R"("x":"\q",)", R"("\q":1,)", R"("x":[1 2],)", R"("x":{"a":tru},)"})
        QTest::addRow("unknown member %s", member)
            << changed(R"("date")", QByteArray(member).append(R"("date")").constData())
            << u"JSON ("_qs;
    // Member names count unescaped.
    for (const char *twice : {R"("d\u0061te":2,)", R"("x":1,"\u0078":2,)"})
        QTest::addRow("duplicate %s", twice)
            << changed(R"("date")", QByteArray(twice).append(R"("date")").constData())
            << u"duplicate key"_qs;
    QTest::newRow("513 levels in a reading") << nestedTo(513, false) << u"512 levels"_qs;
    QTest::newRow("513 levels in a container") << nestedTo(513, true) << u"512 levels"_qs;
    QTest::newRow("100000 levels") << nestedTo(100000, false) << u"512 levels"_qs;
}

void TestHistoryCodec::rejects()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!decodeHistory(json, &error));
    QVERIFY2(!error.isEmpty() && !error.contains(u'\n') && error.contains(reason),
             qPrintable(error));
}

QTEST_GUILESS_MAIN(TestHistoryCodec)
#include "tst_historycodec.moc"
