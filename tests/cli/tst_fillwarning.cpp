#include "fillwarnings.h"
#include "ids.h"
#include "notifier.h"
#include "standins.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Keeps what record would show on the desktop.
class StandInNotifier : public Notifier
{
public:
    QStringList shown;
    void notify(const QString &summary, const QString &body, bool critical) override
    {
        shown.append((critical ? u"critical: "_s : u""_s) + summary + u"; "_s + body);
    }
};

// A container growing 1 GB a day, 7 GB a week, whose readings have `free` GB.
QList<DataPoint> freeing(const QList<qint64> &freeGB)
{
    QList<DataPoint> readings;
    for (qsizetype day = 0; day < freeGB.size(); ++day) {
        const qint64 used = (100 + day) * 1000000000;
        readings.append({newId(),
                         86400.0 * double(day),
                         {{newId(), u"C"_s, u"disk3"_s, 1000000000000, freeGB[day] * 1000000000,
                           u"Data, VM"_s, u"Data"_s, used}}});
    }
    return readings;
}

} // namespace

class TestFillWarning : public QObject
{
    Q_OBJECT
private slots:
    // The last reading brings the forecast within 12 or 4 weeks: one
    // notification per crossing, naming the container, weeks and fill date.
    void crossing_data()
    {
        QTest::addColumn<QList<qint64>>("freeGB");
        QTest::addColumn<QString>("shown"); // empty: nothing
        QTest::newRow("from no trend")
            << QList<qint64>{90, 85, 77}
            << u"Data (disk3) fills in 11.0 weeks; Recent trend (2 days, 3 readings): "
               u"7.0 GB/week (7.0 to 7.0); full around"_s;
        QTest::newRow("from 13 weeks to 11")
            << QList<qint64>{100, 95, 91, 77} << u"Data (disk3) fills in 11.0 weeks"_s;
        QTest::newRow("from 11 to 10") << QList<qint64>{100, 80, 77, 70} << QString();
        QTest::newRow("critical") << QList<qint64>{45, 40, 35, 21}
                                  << u"critical: Data (disk3) fills in 3.0 weeks"_s;
    }
    void crossing()
    {
        QFETCH(QList<qint64>, freeGB);
        QFETCH(QString, shown);
        StandInStore history;
        history.store.replaceHistory(freeing(freeGB));
        StandInNotifier notifier;
        warnOfCrossings(history.store, WeekThresholds{}, notifier);
        QCOMPARE(notifier.shown.size(), shown.isEmpty() ? 0 : 1);
        if (!shown.isEmpty())
            QVERIFY2(notifier.shown.constFirst().startsWith(shown),
                     qPrintable(notifier.shown.constFirst()));
    }
};

QTEST_GUILESS_MAIN(TestFillWarning)
#include "tst_fillwarning.moc"
