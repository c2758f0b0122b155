#include "containerinfo.h"
#include "datapoint.h"
#include "dates.h"
#include "ids.h"
#include "samecontainer.h"

#include <QTest>

class TestRecords : public QObject
{
    Q_OBJECT

    static ContainerInfo sample()
    {
        return {newId(), QStringLiteral("X"),        QStringLiteral("disk3"), 500,
                120,     QStringLiteral("Data, VM"), QStringLiteral("Data"),  370};
    }

private slots:
    void copyText_data()
    {
        QTest::addColumn<QString>("firstVolName");
        QTest::addColumn<qint64>("free");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << u"Data"_qs << qint64(120) << u"disk3,Data,500,120,370,X"_qs;
        QTest::newRow("comma quoted")
            << u"A, B"_qs << qint64(120) << u"disk3,\"A, B\",500,120,370,X"_qs;
        QTest::newRow("negative") << u"Data"_qs << qint64(-5) << u"disk3,Data,500,-5,370,X"_qs;
        QTest::newRow("no volume") << QString() << qint64(120) << u"disk3,,500,120,370,X"_qs;
    }
    void copyText()
    {
        QFETCH(QString, firstVolName);
        QFETCH(qint64, free);
        ContainerInfo info = sample();
        info.firstVolName = firstVolName;
        info.free = free;
        QTEST(info.copyText(), "expected");
    }

    // Equal records hash alike; canonically equivalent texts are equal.
    void equality_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<bool>("equal");
        QTest::newRow("copy") << 0 << true;
        QTest::newRow("id") << 1 << false;
        QTest::newRow("capacity") << 2 << false;
        QTest::newRow("decomposed name") << 3 << true;
        QTest::newRow("reading date") << 4 << false;
        QTest::newRow("plain reference") << 5 << false;
    }
    void equality()
    {
        QFETCH(int, field);
        ContainerInfo a = sample();
        a.firstVolName = QStringLiteral("Caf\u00e9");
        DataPoint p{newId(), 1.5, {a}};
        DataPoint q = p;
        ContainerInfo &b = q.containers[0];
        if (field == 1)
            b.id = newId();
        else if (field == 2)
            b.capacity += 1;
        else if (field == 3)
            b.firstVolName = QStringLiteral("Cafe\u0301");
        else if (field == 4)
            q.date = 2.5;
        else if (field == 5)
            b.conRef = QStringLiteral("disk4");
        QTEST(p == q, "equal");
        if (p == q)
            QCOMPARE(qHash(p), qHash(q));
    }

    void sameContainer_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("composed and decomposed") << u"\u00c5"_qs << u"A\u030a"_qs << true;
        QTest::newRow("decomposed and composed") << u"A\u030a"_qs << u"\u00c5"_qs << true;
        QTest::newRow("Angstrom sign and letter") << u"\u212b"_qs << u"\u00c5"_qs << true;
        QTest::newRow("Hangul letters and syllable") << u"\u1100\u1161"_qs << u"\uac00"_qs << true;
        QTest::newRow("accent differs") << u"e"_qs << u"\u00e9"_qs << false;
    }
    void sameContainer()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        const ContainerMatcher matches(a);
        // Twice: the matcher remembers texts by address.
        QCOMPARE(matches(b), same);
        QCOMPARE(matches(b), same);
        QCOMPARE(containerKey(a) == containerKey(b), same);
    }

    void uuidForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("upper") << u"0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D3"_qs << true;
        QTest::newRow("hyphen moved") << u"0A1B2C3-D4E5F-4A6B-8C7D-8E9FA0B1C2D3"_qs << false;
        QTest::newRow("a digit for a hyphen")
            << u"0A1B2C3D04E5F-4A6B-8C7D-8E9FA0B1C2D3"_qs << false;
        QTest::newRow("a digit for the third")
            << u"0A1B2C3D-4E5F-4A6B08C7D-8E9FA0B1C2D3"_qs << false;
        QTest::newRow("37 characters") << u"0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D30"_qs << false;
    }
    void uuidForms()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const std::optional<QUuid> parsed = parseUuid(text);
        QCOMPARE(parsed.has_value(), valid);
        QCOMPARE(parseUuid(text.toLatin1()).has_value(), valid);
        if (valid) {
            char written[uuidTextLength + 2] = {}; // not a byte more
            writeUuidText(*parsed, written);
            QCOMPARE(QString::fromLatin1(written), text.toUpper());
        }
    }

    // Fresh ids are random (version 4) and never repeat, however many.
    void freshIds()
    {
        QCOMPARE(newId().version(), QUuid::Random);
        QSet<QUuid> ids;
        for (int i = 0; i < 100000; ++i)
            ids.insert(newId());
        QCOMPARE(ids.size(), 100000);
    }

    // Run with TZ=America/St_Johns: three and a half hours west of UTC in
    // winter, two and a half in summer.
    void localDates_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("dateStr");
        QTest::addColumn<QString>("exportDate");
        QTest::newRow("reference")
            << 0.0 << u"20:30:00-0330 2000-12-31"_qs << u"31/12/2000 20:30:00"_qs;
        QTest::newRow("summer") << 739279200.0 << u"08:50:00-0230 2024-06-05"_qs
                                << u"05/06/2024 08:50:00"_qs;
        QTest::newRow("year 0, local mean time -03:30:52")
            << -63129758400.0 << u"08:29:08-0330 0000-07-01"_qs << u"01/07/0000 08:29:08"_qs;
        QTest::newRow("year -1") << -63161380800.0 << u"08:29:08-0330 -0001-07-01"_qs
                                 << u"01/07/-0001 08:29:08"_qs;
        QTest::newRow("beyond the calendar") << 1e300 << QString() << QString();
    }
    void localDates()
    {
        QFETCH(double, seconds);
        QTEST(formatDateStr(seconds), "dateStr");
        QTEST(formatExportDate(seconds), "exportDate");
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
