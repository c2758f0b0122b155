#include "contentview.h"
#include "histories.h"
#include "mainwindow.h"
#include "ratechart.h"
#include "standins.h"
#include "usedspacechart.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QClipboard>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineSeries>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QValueAxis>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

const QStringList initialSummary = {
    u"Total Used (GB), maximum 0.000000 GB, minimum free 0.000000 GB"_s,
    u"Rate of Increase in Used Space (GB/week), overall 0.000000 GB/week"_s,
    u"Forecast time for container to fill at current rate of increase in used space: 0 weeks"_s,
    u"Recent trend: needs 3 readings over at least a day"_s};

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
        m_window = std::make_unique<MainWindow>(m_standIns->release());
        m_view = m_window->contentView();
        m_window->show();
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
        QStringList tools;
        for (QAction *tool : m_view->toolBar()->actions())
            tools << tool->objectName() + u':' + tool->text() + u':' + tool->toolTip();
        QCOMPARE(tools, QStringList({u"readdata:Read JSON:Read data from JSON file"_s,
                                     u"checkcons:Check All:Check all accessible APFS containers."_s,
                                     u"savejson:Save As JSON:Save all data as JSON file."_s,
                                     u"savecsv:Save Selection As CSV:Save selected container "
                                     "data as CSV file."_s}));
    }

    void checkAllSwitchesTheLines()
    {
        m_standIns->listing->containers = {readingOf(diskA, 0)};
        trigger("checkcons");
        QTRY_COMPARE(shownLines(*m_view), initialSummary);
        QTRY_COMPARE(m_view->listView()->model()->rowCount(), 1);
        QVERIFY(!QGuiApplication::overrideCursor());
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
        QTRY_COMPARE(shownLines(*m_view).size(), initialSummary.size());
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
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
