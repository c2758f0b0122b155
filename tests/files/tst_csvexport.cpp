#include "csvexport.h"
#include "dates.h"
#include "ids.h"

#include <QTest>

namespace {

DataContainerInfo entry(const QString &conUUID, double date, qint64 size,
                        const QString &volNames = u"System, Data"_qs, qint64 capacity = 1000000)
{
    return DataContainerInfo{newId(),      date,     QString(),       conUUID,
                             u"disk3"_qs,  capacity, capacity - size, volNames,
                             u"System"_qs, size + 7};
}

QList<qint64> rates(const CsvExport &csv)
{
    QList<qint64> result;
    for (const RateStats &row : csv.rows())
        result.append(row.rate);
    return result;
}

double localSeconds(QDate date, QTime time)
{
    return secondsSinceReference(QDateTime(date, time));
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT
private slots:
    void singleReadingLayout()
    {
        const double date = localSeconds(QDate(2025, 1, 5), QTime(23, 59, 59));
        const auto csv =
            CsvExport::fromEntries({entry(u"C"_qs, date, 600, u"A, B, C"_qs, 1000)}, u"C"_qs);
        QVERIFY(csv);
        QCOMPARE(csv->text(), QByteArray("date,size,sizeTotal,rate\n"
                                         "05/01/2025 23:59:59,600,607,0\n"
                                         "\n\n"
                                         "\"A, B, C\"\n"
                                         "Capacity: 1000"));
    }

    void rates_data()
    {
        QTest::addColumn<QList<DataContainerInfo>>("entries");
        QTest::addColumn<QList<qint64>>("expected");
        QTest::newRow("growth rounds half away from zero")
            << QList{entry(u"C"_qs, 0, 1000), entry(u"C"_qs, 100, 1150)} << QList<qint64>{0, 2};
        QTest::newRow("shrink rounds half away from zero")
            << QList{entry(u"C"_qs, 0, 1150), entry(u"C"_qs, 100, 1000)} << QList<qint64>{0, -2};
        QTest::newRow("same date, then measured from it")
            << QList{entry(u"C"_qs, 0, 1000), entry(u"C"_qs, 0, 5000), entry(u"C"_qs, 10, 5100)}
            << QList<qint64>{0, 0, 10};
        QTest::newRow("earlier date")
            << QList{entry(u"C"_qs, 100, 1000), entry(u"C"_qs, 50, 2000)} << QList<qint64>{0, 0};
        QTest::newRow("other containers skipped")
            << QList{entry(u"C"_qs, 0, 1000), entry(u"D"_qs, 5, 99999), entry(u"C"_qs, 10, 1100)}
            << QList<qint64>{0, 10};
        // Matched character for character: a decomposed é is another UUID.
        QTest::newRow("exact match")
            << QList{entry(u"C\u00e9"_qs, 0, 1000), entry(u"Ce\u0301"_qs, 10, 9000),
                     entry(u"C\u00e9"_qs, 20, 1200)}
            << QList<qint64>{0, 10};
    }

    void rates()
    {
        QFETCH(QList<DataContainerInfo>, entries);
        QFETCH(QList<qint64>, expected);
        const auto csv = CsvExport::fromEntries(entries, entries.first().conUUID);
        QVERIFY(csv);
        QCOMPARE(::rates(*csv), expected);
    }

    void trailerComesFromTheFirstReading()
    {
        const auto csv =
            CsvExport::fromEntries({entry(u"D"_qs, 0, 1), entry(u"C"_qs, 0, 1, u"First"_qs, 10),
                                    entry(u"C"_qs, 1, 1, u"Second"_qs, 20)},
                                   u"C"_qs);
        QVERIFY(csv && csv->text());
        QVERIFY(csv->text()->endsWith("\n\n\nFirst\nCapacity: 10"));
    }

    void noRowsGiveNothing()
    {
        QVERIFY(!CsvExport::fromEntries({}, u"C"_qs));
        QVERIFY(!CsvExport::fromEntries({entry(u"D"_qs, 0, 1)}, u"C"_qs));
    }

    void numbersBeyondInt64GiveNoText()
    {
        DataContainerInfo huge = entry(u"C"_qs, 0, 0);
        huge.capacity = std::numeric_limits<qint64>::max();
        huge.free = -1;
        const auto csv = CsvExport::fromEntries({huge}, u"C"_qs);
        QVERIFY(csv);
        QVERIFY(!csv->isExact());
        QVERIFY(!csv->text());
    }

    void dateBeyondTheCalendarGivesNoText()
    {
        const auto csv = CsvExport::fromEntries({entry(u"C"_qs, 1e300, 1)}, u"C"_qs);
        QVERIFY(csv && csv->isExact());
        QVERIFY(!csv->text());
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
