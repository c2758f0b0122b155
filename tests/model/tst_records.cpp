#include "containerinfo.h"
#include "datacontainerinfo.h"
#include "datapoint.h"
#include "dates.h"
#include "ids.h"
#include "text.h"

#include <QTest>

class TestRecords : public QObject
{
    Q_OBJECT

private:
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
        QTest::newRow("plain") << QStringLiteral("Data") << qint64(120)
                               << QStringLiteral("disk3,Data,500,120,370,X");
        QTest::newRow("comma quoted") << QStringLiteral("A, B") << qint64(120)
                                      << QStringLiteral("disk3,\"A, B\",500,120,370,X");
        QTest::newRow("negative") << QStringLiteral("Data") << qint64(-5)
                                  << QStringLiteral("disk3,Data,500,-5,370,X");
        QTest::newRow("no volume")
            << QString() << qint64(120) << QStringLiteral("disk3,,500,120,370,X");
    }
    void copyText()
    {
        QFETCH(QString, firstVolName);
        QFETCH(qint64, free);
        QFETCH(QString, expected);
        ContainerInfo info = sample();
        info.firstVolName = firstVolName;
        info.free = free;
        QCOMPARE(info.copyText(), expected);
    }

    void equality_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("equal");
        QTest::newRow("copy") << QString() << true;
        QTest::newRow("id") << QStringLiteral("id") << false;
        QTest::newRow("capacity") << QStringLiteral("capacity") << false;
        QTest::newRow("volNames") << QStringLiteral("volNames") << false;
        QTest::newRow("decomposed name") << QStringLiteral("nfd") << true;
    }
    void equality()
    {
        QFETCH(QString, field);
        QFETCH(bool, equal);
        ContainerInfo a = sample();
        a.firstVolName = QStringLiteral("Caf\u00e9");
        ContainerInfo b = a;
        if (field == u"id")
            b.id = newId();
        else if (field == u"capacity")
            b.capacity += 1;
        else if (field == u"volNames")
            b.volNames += u'!';
        else if (field == u"nfd")
            b.firstVolName = QStringLiteral("Cafe\u0301");
        QCOMPARE(a == b, equal);
        if (equal)
            QCOMPARE(qHash(a), qHash(b));
    }

    void sameTextIsCanonical()
    {
        QVERIFY(sameText(u"\u00c5ngstr\u00f6m", u"A\u030angstro\u0308m"));
        QVERIFY(!sameText(u"e", u"\u00e9"));
        QVERIFY(!sameText(u"abc", u"abd"));
        const TextMatcher matcher(QStringLiteral("A\u030a"));
        QVERIFY(matcher(QStringLiteral("\u00c5")));
        QVERIFY(!matcher(QStringLiteral("A")));
    }

    // More distinct texts than the matcher remembers, each seen many times.
    void matcherKeepsAnsweringAcrossManyTexts()
    {
        QStringList texts;
        for (int i = 0; i < 20; ++i)
            texts.append(QStringLiteral("C%1").arg(i));
        const TextMatcher matcher(QStringLiteral("C7"));
        for (int round = 0; round < 3; ++round) {
            for (const QString &text : texts)
                QCOMPARE(matcher(text), text == u"C7");
        }
    }

    void dataPointsCompareContainers()
    {
        const DataPoint a{newId(), 12.5, {sample(), sample()}};
        DataPoint b = a;
        QVERIFY(a == b);
        QCOMPARE(qHash(a), qHash(b));
        b.containers[1].totalUsed = 1;
        QVERIFY(a != b);
        b = a;
        b.containers.removeLast();
        QVERIFY(a != b);
        b = a;
        b.date = qQNaN();
        QVERIFY(!(b == b)); // a NaN date is never equal, not even to itself
    }

    void flattenedEntryGetsItsOwnId()
    {
        const ContainerInfo info = sample();
        const DataContainerInfo entry =
            DataContainerInfo::fromContainer(info, 3.0, QStringLiteral("x"));
        QVERIFY(entry.id != info.id);
        QCOMPARE(entry.conUUID, info.conUUID);
        QCOMPARE(entry.totalUsed, info.totalUsed);
        QCOMPARE(entry.date, 3.0);
    }

    void uuidForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("upper") << QStringLiteral("0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D3") << true;
        QTest::newRow("lower") << QStringLiteral("0a1b2c3d-4e5f-4a6b-8c7d-8e9fa0b1c2d3") << true;
        QTest::newRow("braces") << QStringLiteral("{0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D3}")
                                << false;
        QTest::newRow("no hyphens") << QStringLiteral("0A1B2C3D4E5F4A6B8C7D8E9FA0B1C2D3") << false;
        QTest::newRow("hyphen moved")
            << QStringLiteral("0A1B2C3-D4E5F-4A6B-8C7D-8E9FA0B1C2D3") << false;
        QTest::newRow("not hex") << QStringLiteral("0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2DG") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void uuidForms()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        const std::optional<QUuid> parsed = parseUuid(text);
        QCOMPARE(parsed.has_value(), valid);
        QCOMPARE(parseUuid(text.toLatin1()).has_value(), valid);
        if (valid)
            QCOMPARE(uuidText(*parsed), text.toUpper());
    }

    void newIdsAreVersion4AndDistinct()
    {
        QSet<QUuid> seen;
        for (int i = 0; i < 1000; ++i) {
            const QUuid id = newId();
            QCOMPARE(id.version(), QUuid::Random);
            QCOMPARE(id.variant(), QUuid::DCE);
            seen.insert(id);
        }
        QCOMPARE(seen.size(), 1000);
    }

    // The test runs with TZ=Europe/Paris: one hour east of UTC in winter.
    void dateStr_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("expected");
        QTest::newRow("reference") << 0.0 << QStringLiteral("01:00:00+0100 2001-01-01");
        QTest::newRow("fraction") << 0.999 << QStringLiteral("01:00:00+0100 2001-01-01");
        QTest::newRow("before reference") << -0.5 << QStringLiteral("00:59:59+0100 2001-01-01");
        QTest::newRow("summer") << 740157600.0 << QStringLiteral("17:20:00+0200 2024-06-15");
        QTest::newRow("unplaceable") << 1e300 << QString();
        QTest::newRow("infinite") << qInf() << QString();
    }
    void dateStr()
    {
        QFETCH(double, seconds);
        QFETCH(QString, expected);
        QCOMPARE(formatDateStr(seconds), expected);
    }

    void referenceDateRoundTrips()
    {
        const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
        QCOMPARE(secondsSinceReference(reference), 0.0);
        QCOMPARE(dateTimeFromReference(86400.5), reference.addMSecs(86400500));
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
