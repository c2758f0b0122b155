#include "containertable.h"
#include "contentview.h"
#include "histories.h"
#include "listingsurvey.h"
#include "mainwindow.h"
#include "ratechart.h"
#include "scripts.h"
#include "standins.h"
#include "usedspacechart.h"

#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QClipboard>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLineSeries>
#include <QScrollBar>
#include <QSemaphore>
#include <QSlider>
#include <QTest>
#include <QValueAxis>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// The trend line waits for a container to be selected.
const QStringList initialSummary = {
    u"Total Used (GB), maximum 0.000000 GB, minimum free 0.000000 GB"_s,
    u"Rate of Increase in Used Space (GB/week), overall 0.000000 GB/week"_s,
    u"Forecast time for container to fill at current rate of increase in used space: 0 weeks"_s};

const HistoryContainer diskA{u"AAAA"_s,     u"disk3"_s,   u"Data"_s,
                             1000000000000, 400999999999, 1000000000};
const HistoryContainer diskB{u"BBBB"_s,     u"disk5"_s,   u"Backup"_s,
                             2000000000000, 900000000000, 3000000000};

QStringList shownLines(const QWidget &view)
{
    QStringList lines;
    for (const QLabel *label : view.findChildren<QLabel *>(u"line"_s)) {
        if (label->isVisibleTo(&view))
            lines.append(label->text());
    }
    return lines;
}

QList<QPointF> plotted(const ScrollingChart *chart, int series = 0)
{
    return qobject_cast<QLineSeries *>(chart->chart()->series().at(series))->points();
}

// The axis labels as drawn: every text of the chart but the rule's caption.
QStringList shownLabels(const ScrollingChart *chart)
{
    QStringList labels;
    for (const QGraphicsItem *item : chart->chart()->scene()->items()) {
        const auto *text = dynamic_cast<const QGraphicsTextItem *>(item);
        if (text && text->isVisible())
            labels.append(text->toPlainText());
    }
    return labels;
}

// Files whose reading waits until the test lets it go on.
class GatedFiles : public StandInFiles
{
public:
    QSemaphore gate;
    std::optional<QList<DataPoint>> readHistory(const QString &path, QString *error) override
    {
        gate.acquire();
        return StandInFiles::readHistory(path, error);
    }
};

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

    StandInStore *m_standIns = nullptr;
    std::unique_ptr<MainWindow> m_window;
    ContentView *m_view = nullptr;

    DiskInfo &store() { return *m_view->theDiskInfo(); }
    void trigger(const char *tool)
    {
        m_window->findChild<QAction *>(QLatin1StringView(tool))->trigger();
    }
    template <typename T>
    T *child(const char *name)
    {
        return m_view->findChild<T *>(QLatin1StringView(name));
    }

private slots:
    void init()
    {
        m_standIns = new StandInStore;
        show(m_standIns->release());
    }
    void show(DiskInfo *store)
    {
        m_window = std::make_unique<MainWindow>(store);
        m_view = m_window->contentView();
        m_window->show();
    }
    // A container growing a GB a day, selected.
    void selectGrowing(int readings)
    {
        fillHistory(store(), {diskA}, readings, 21600.0);
        QTRY_COMPARE(m_view->listView()->model()->rowCount(), 1);
        m_view->listView()->selectRow(0);
    }
    void cleanup()
    {
        m_window.reset();
        delete m_standIns;
    }

    void firstWindow()
    {
        QCOMPARE(m_window->windowHandle()->title(), u"Quillbank"_s);
        QCOMPARE(shownLines(*m_view).size(), 5);
        QVERIFY(shownLines(*m_view).first().startsWith(u"If you have already saved"_s));
        QCOMPARE(child<QSlider>("days")->value(), 14);
        QCOMPARE(m_view->listView()->model()->rowCount(), 0);
        QVERIFY(!child<RateChart>("rateChart")->hasRule());
    }

    // A history read lists its last reading's containers and shows the first
    // as Check All would, with nothing new to save.
    void readShowsTheLastReading()
    {
        StandInStore reader; // writes the history the window then reads
        fillHistory(reader.store, {diskA, diskB}, 3, 86400.0);
        m_standIns->files->histories.insert(u"/h/read.json"_s, reader.store.globalConData());
        store().readJSONFrom(u"/h/read.json"_s);
        QTRY_COMPARE(store().ratesPoints().size(), 3);
        QCOMPARE(store().containerList(), reader.store.globalConData().constLast().containers);
        QCOMPARE(m_view->selectedConUUID(), diskA.conUUID);
        // The summary lines and the selected container's trend.
        QTRY_COMPARE(shownLines(*m_view).size(), initialSummary.size() + 1);
        QVERIFY(!m_window->isWindowModified());
    }

    // Selecting a row builds that container's series; a stale selection
    // (the list replaced by a later Check All) calls nothing.
    void selection()
    {
        fillHistory(store(), {diskA, diskB}, 30, 3600.0);
        QTRY_COMPARE(m_view->listView()->model()->rowCount(), 2);
        m_view->listView()->selectRow(1);
        QCOMPARE(store().ratesPoints().size(), 30);
        QCOMPARE(store().maxSizeTotal(), diskB.firstUsed + 29 * diskB.growth);
        QTRY_COMPARE(plotted(child<UsedSpaceChart>("usedSpaceChart")).size(), 30);
        m_view->copySelection();
        QCOMPARE(QGuiApplication::clipboard()->text(), store().containerList().at(1).copyText());

        m_standIns->listing->containers = {readingOf(diskA, 30)};
        trigger("checkcons");
        QTRY_COMPARE(m_view->listView()->model()->rowCount(), 1);
        StandInChooser chooser;
        store().setFileChooser(&chooser);
        trigger("savecsv");
        QVERIFY(chooser.asked.isEmpty());
        QCOMPARE(store().maxSizeTotal(), diskB.firstUsed + 29 * diskB.growth);
        store().setFileChooser(nullptr);
    }

    // GB are whole and truncated; rates are GB per week; the rule is the
    // overall rate; the used-space axis follows the data, not zero.
    void chartValues()
    {
        fillHistory(store(), {diskA}, 3, 86400.0);
        QTRY_COMPARE(m_view->listView()->model()->rowCount(), 1);
        m_view->listView()->selectRow(0);
        const auto *used = child<UsedSpaceChart>("usedSpaceChart");
        const auto *rate = child<RateChart>("rateChart");
        QTRY_COMPARE(plotted(used).size(), 3);
        QCOMPARE(plotted(used).at(0).y(), 400.0); // 400,999,999,999 bytes
        QCOMPARE(plotted(used).at(2).y(), 402.0);
        QCOMPARE(plotted(rate).at(1).y(), 11574 * 0.0006048); // 1e9 bytes a day
        QVERIFY(rate->hasRule());
        QCOMPARE(plotted(rate, 2).at(0).y(), store().overallRate());
        QVERIFY(used->axisY()->min() > 300);
    }

    // The window answers while the listing tool runs, and Stop ends the tool
    // with its children; the store keeps what it had.
    void checkAllWaitsForNothing()
    {
        QTemporaryDir dir;
        const QString tool = writeScript(dir, u"tool"_s, "sleep 60 & echo $! > \"$0.pid\"; wait");
        show(new DiskInfo(std::make_unique<FixedClock>(), std::make_unique<ListingSurvey>(tool),
                          std::make_unique<StandInFiles>()));
        fillHistory(store(), {diskA, diskB}, 3, 3600.0);
        trigger("checkcons");
        QTRY_VERIFY(QFile::exists(tool + u".pid"_s));
        bool fired = false;
        QTimer::singleShot(0, [&fired] { fired = true; });
        QTRY_VERIFY(fired);
        m_view->listView()->selectRow(1);
        QCOMPARE(store().maxSizeTotal(), diskB.firstUsed + 2 * diskB.growth);
        QVERIFY(store().isChecking());
        trigger("stop");
        QTRY_VERIFY(!store().isChecking());
        const QByteArray child = fileContents(tool + u".pid"_s).trimmed();
        QTRY_VERIFY(
            fileContents(u"/proc/"_s + QLatin1StringView(child) + u"/stat"_s).split(' ').value(2) !=
            "S");
        QCOMPARE(store().globalConData().size(), 3);
        QCOMPARE(m_view->listView()->model()->rowCount(), 2);
    }

    // Decoding a history goes on while the window answers.
    void readJsonWaitsForNothing()
    {
        auto *files = new GatedFiles;
        files->histories.insert(u"/h/big.json"_s, sampleHistory(20000, 3));
        show(new DiskInfo(std::make_unique<FixedClock>(), std::make_unique<StandInListing>(),
                          std::unique_ptr<FileAccess>(files)));
        // Never leaves the worker waiting, so that the window can close.
        const auto release = qScopeGuard([files] { files->gate.release(); });
        store().readJSONFrom(u"/h/big.json"_s);
        bool fired = false;
        QTimer::singleShot(0, [&fired] { fired = true; });
        QTRY_VERIFY(fired);
        QVERIFY(store().globalConData().isEmpty());
        files->gate.release();
        QTRY_COMPARE(store().globalConData().size(), 20000);
        QVERIFY(m_window->windowTitle().startsWith(u"big.json"_s));
    }

    // Every axis label reads in full, from the smallest window up; the time
    // labels fall on whole hours up to 3 days, on midnights beyond.
    void axesAtEverySize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("days");
        QTest::newRow("smallest, 1 day") << QSize(800, 500) << 1;
        QTest::newRow("smallest, 28 days") << QSize(800, 500) << 28;
        QTest::newRow("large, 3 days") << QSize(1400, 1000) << 3;
        QTest::newRow("large, 4 days") << QSize(1400, 1000) << 4;
    }
    void axesAtEverySize()
    {
        QFETCH(QSize, size);
        QFETCH(int, days);
        m_window->resize(size);
        trigger("checkcons"); // the summary lines, as tall as the help lines
        QTRY_COMPARE(shownLines(*m_view), initialSummary);
        QVERIFY(!store().isChecking() && !QGuiApplication::overrideCursor());
        selectGrowing(200);
        m_view->daysSlider()->setValue(days);
        QTRY_COMPARE(m_window->size(), size);
        for (const char *name : {"usedSpaceChart", "rateChart"}) {
            const auto *chart = child<ScrollingChart>(name);
            QTRY_VERIFY(shownLabels(chart).size() >= 4);
            QVERIFY2(!shownLabels(chart).join(u'|').contains(u"..."_s),
                     qPrintable(shownLabels(chart).join(u'|')));
            QCategoryAxis *axis = chart->axisX();
            QVERIFY(axis->count() >= 2);
            for (const QString &label : axis->categoriesLabels()) {
                const QTime time = QDateTime::fromMSecsSinceEpoch(axis->endValue(label)).time();
                QCOMPARE(time.minute() + time.second(), 0);
                QVERIFY(days <= 3 || time.hour() == 0);
            }
        }
    }

    // Changing the span keeps the last reading in view when the window lay past it.
    void spanKeepsTheLatestInView()
    {
        selectGrowing(200);
        auto *used = child<UsedSpaceChart>("usedSpaceChart");
        QTRY_COMPARE(plotted(used).size() > 0, true);
        used->scrollBar()->setValue(used->scrollBar()->maximum());
        const double last = used->allPoints().constLast().x();
        m_view->daysSlider()->setValue(3);
        QVERIFY(used->windowStart() < last && used->windowEnd() >= last);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
