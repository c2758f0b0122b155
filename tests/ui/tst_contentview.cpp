#include "DiskInfo.h"
#include "answeringchooser.h"
#include "clock.h"
#include "containerlistmodel.h"
#include "contentview.h"
#include "listingprobe.h"
#include "listingscripts.h"
#include "listingsource.h"
#include "mainwindow.h"
#include "ratechart.h"
#include "storehistory.h"
#include "usedspacechart.h"

#include <QAction>
#include <QClipboard>
#include <QLineSeries>
#include <QSignalSpy>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QStringList helpText = {
    QStringLiteral(
        "If you have already saved a JSON file, click on the Read JSON tool to load it."),
    QStringLiteral("Then click on the Check All tool to fetch current values."),
    QStringLiteral("Select one of the listed containers to plot its values in the charts below."),
    QStringLiteral("Click on the Save As JSON tool to save all the data to a file."),
    QStringLiteral("You can also export data for the selected container to a CSV file, using the "
                   "Save Selection As CSV tool."),
};

const QStringList initialSummary = {
    QStringLiteral("Total Used (GB), maximum 0.000000 GB, minimum free 0.000000 GB"),
    QStringLiteral("Rate of Increase in Used Space (GB/week), overall 0.000000 GB/week"),
    QStringLiteral("Forecast time for container to fill at current rate of increase in used "
                   "space: 0 weeks"),
};

const HistoryContainer diskA{QStringLiteral("AAAA-UUID"),
                             QStringLiteral("disk3"),
                             QStringLiteral("Data"),
                             1000000000000,
                             400000000000,
                             1000000000};
const HistoryContainer diskB{QStringLiteral("BBBB-UUID"),
                             QStringLiteral("disk5"),
                             QStringLiteral("Backup"),
                             2000000000000,
                             900000000000,
                             3000000000};

// Answers every dialog for the user and records what was asked.

// A listing tool that notes the cursor shown while it runs.
class CursorWatchingListing : public ListingSource
{
public:
    std::optional<Qt::CursorShape> cursor;
    std::optional<QByteArray> runDiskutil() override
    {
        if (const QCursor *shown = QGuiApplication::overrideCursor())
            cursor = shown->shape();
        return std::nullopt;
    }
    QString errorString() const override { return {}; }
};

// Counts the store's selectContainer calls: each starts by clearing the series.
struct SelectCounter {
    int calls = 0;
    void watch(DiskInfo *store)
    {
        QObject::connect(store, &DiskInfo::changed, store, [this, store](DiskInfo::Property p) {
            if (p == DiskInfo::Property::RatesPoints && store->ratesPoints().isEmpty())
                ++calls;
        });
    }
};

DiskInfo *storeWithListing(const QString &program)
{
    return new DiskInfo(std::make_unique<SystemClock>(), std::make_unique<ListingProbe>(program));
}

} // namespace

class TestContentView : public QObject
{
    Q_OBJECT
private slots:
    void firstWindow();
    void checkAllSwitchesLines_data();
    void checkAllSwitchesLines();
    void checkAllShowsBusyCursor();
    void readJsonKeepsHelpLines();
    void linesFollowTheStore();
    void selectionCallsSelectContainer();
    void staleSelectionCallsNothing();
    void rowsShowTheContainers();
    void copy_data();
    void copy();
    void sliderEnds();
    void seriesRebuildsOncePerTurn();
};

void TestContentView::firstWindow()
{
    ContentView view;
    view.show();
    QCOMPARE(view.listModel()->rowCount(), 0);
    QCOMPARE(view.shownLines(), helpText);
    QVERIFY(!view.hasRun());
    QVERIFY(!view.selection());
    QCOMPARE(view.daysSlider()->value(), 14);
    QCOMPARE(view.visibleDuration(), 1209600.0);
    QCOMPARE(view.usedSpaceChart()->pointSeries()->count(), 0);
    QCOMPARE(view.rateChart()->pointSeries()->count(), 0);
    QVERIFY(!view.rateChart()->ruleSeries()->isVisible());
    QVERIFY(view.listView()->maximumHeight() <= 185);
}

void TestContentView::checkAllSwitchesLines_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("rows");
    QTest::newRow("one container") << oneContainerListing() << 0 << 1;
    QTest::newRow("listing tool fails") << oneContainerListing() << 1 << 0;
    QTest::newRow("undecodable listing") << QByteArray("not a plist") << 0 << 0;
}

void TestContentView::checkAllSwitchesLines()
{
    QFETCH(QByteArray, listing);
    QFETCH(int, status);
    QFETCH(int, rows);
    QTemporaryDir dir;
    MainWindow window(
        storeWithListing(writeListingScript(dir, QStringLiteral("list"), listing, status)));
    ContentView *view = window.contentView();
    window.findChild<QAction *>(QStringLiteral("checkcons"))->trigger();
    QCoreApplication::processEvents();

    QVERIFY(view->hasRun());
    QCOMPARE(view->shownLines(), initialSummary);
    QCOMPARE(view->listModel()->rowCount(), rows);
    QVERIFY(!QGuiApplication::overrideCursor());
    if (rows > 0) {
        const QModelIndex uuid = view->listModel()->index(0, ContainerListModel::ConUUID);
        QCOMPARE(uuid.data().toString(), QStringLiteral("11111111-2222-3333-4444-555555555555"));
    }
}

void TestContentView::checkAllShowsBusyCursor()
{
    auto listing = std::make_unique<CursorWatchingListing>();
    CursorWatchingListing *watcher = listing.get();
    MainWindow window(new DiskInfo(std::make_unique<SystemClock>(), std::move(listing)));
    window.findChild<QAction *>(QStringLiteral("checkcons"))->trigger();
    QCOMPARE(watcher->cursor, std::optional<Qt::CursorShape>(Qt::WaitCursor));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestContentView::readJsonKeepsHelpLines()
{
    MainWindow window;
    ContentView *view = window.contentView();
    AnsweringChooser chooser(
        QUrl::fromLocalFile(QStringLiteral(QUILLBANK_TEST_DATA "/history-two-readings.json")));
    view->theDiskInfo()->setFileChooser(&chooser);
    window.findChild<QAction *>(QStringLiteral("readdata"))->trigger();
    QTRY_COMPARE(view->theDiskInfo()->globalConData().size(), 2);
    QCOMPARE(chooser.questions.size(), 1);
    QVERIFY(!view->hasRun());
    QCOMPARE(view->shownLines(), helpText);
    QCOMPARE(view->listModel()->rowCount(), 0);
    view->theDiskInfo()->setFileChooser(nullptr);
}

void TestContentView::linesFollowTheStore()
{
    QTemporaryDir dir;
    MainWindow window(storeWithListing(writeListingScript(dir, QStringLiteral("list"), {}, 1)));
    window.findChild<QAction *>(QStringLiteral("checkcons"))->trigger();
    DiskInfo *store = window.contentView()->theDiskInfo();
    store->setMaxSizeTotal(123456789012);
    store->setMinFree(50000000000.0);
    store->setOverallRate(-1.5);
    store->setTimeToRun(42);
    QCoreApplication::processEvents();
    QCOMPARE(
        window.contentView()->shownLines(),
        QStringList({
            QStringLiteral("Total Used (GB), maximum 123.456789 GB, minimum free 50.000000 GB"),
            QStringLiteral("Rate of Increase in Used Space (GB/week), overall -1.500000 GB/week"),
            QStringLiteral("Forecast time for container to fill at current rate of increase "
                           "in used space: 42 weeks"),
        }));
}

void TestContentView::selectionCallsSelectContainer()
{
    ContentView view;
    DiskInfo *store = view.theDiskInfo();
    fillHistory(*store, {diskA, diskB}, 3, 86400.0);
    QCoreApplication::processEvents();
    SelectCounter counter;
    counter.watch(store);

    view.listView()->selectRow(0);
    QCOMPARE(counter.calls, 1);
    QCOMPARE(store->ratesPoints().size(), 3);
    QCOMPARE(store->ratesPoints().constLast().sizeTotal, diskA.firstUsed + 2 * diskA.growth);

    view.listView()->selectRow(0);
    QCOMPARE(counter.calls, 1);

    view.listView()->selectRow(1);
    QCOMPARE(counter.calls, 2);
    QCOMPARE(store->ratesPoints().constLast().sizeTotal, diskB.firstUsed + 2 * diskB.growth);

    view.listView()->clearSelection();
    QCOMPARE(counter.calls, 2);
    QVERIFY(!view.selection());
    QCOMPARE(store->ratesPoints().size(), 3);
}

void TestContentView::staleSelectionCallsNothing()
{
    ContentView view;
    DiskInfo *store = view.theDiskInfo();
    fillHistory(*store, {diskA, diskB}, 2, 3600.0);
    QCoreApplication::processEvents();
    view.listView()->selectRow(1);
    const QUuid selected = *view.selection();

    // A later reading lists the same containers under new ids.
    store->setContainerList({readingOf(diskA, 5), readingOf(diskB, 5)});
    QCoreApplication::processEvents();
    QCOMPARE(view.selection(), std::optional<QUuid>(selected));
    SelectCounter counter;
    counter.watch(store);
    view.forSelectedContainer(&DiskInfo::selectContainer);
    QCOMPARE(counter.calls, 0);
    QCOMPARE(view.copyText(), QString());

    // Choosing a row of the new list works as before.
    view.listView()->selectRow(0);
    QCOMPARE(counter.calls, 1);
}

void TestContentView::rowsShowTheContainers()
{
    ContentView view;
    ContainerInfo info{newId(), QStringLiteral("UU-1"),     QStringLiteral("disk3"), 994662584320,
                       -5,      QStringLiteral("Data, VM"), QStringLiteral("Data"),  370};
    view.theDiskInfo()->setContainerList({info});
    QCoreApplication::processEvents();
    const ContainerListModel *model = view.listModel();
    QCOMPARE(model->columnCount(), 7);
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column)
        cells.append(model->index(0, column).data().toString());
    QCOMPARE(cells, QStringList({u"disk3"_s, u"Data"_s, u"994662584320"_s, u"370"_s, u"-5"_s,
                                 u"Data, VM"_s, u"UU-1"_s}));
    const auto colour = [&](int column) {
        return model->index(0, column).data(Qt::ForegroundRole).value<QColor>();
    };
    QCOMPARE(colour(ContainerListModel::FirstVolName), QColor(Qt::blue));
    QCOMPARE(colour(ContainerListModel::TotalUsed), QColor(Qt::red));
    QVERIFY(colour(ContainerListModel::Free).red() > colour(ContainerListModel::Free).blue());
    QCOMPARE(colour(ContainerListModel::VolNames).hue(), QColor(Qt::green).hue());
    QVERIFY(!model->index(0, ContainerListModel::ConRef).data(Qt::ForegroundRole).isValid());
}

void TestContentView::copy_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<QString>("expected");
    const QString sentinel = QStringLiteral("untouched");
    QTest::newRow("nothing selected, Edit menu") << -1 << false << sentinel;
    QTest::newRow("nothing selected, Ctrl+C") << -1 << true << sentinel;
    QTest::newRow("first row, Edit menu")
        << 0 << false << QStringLiteral("disk3,Data,500,120,370,X");
    QTest::newRow("second row, Ctrl+C")
        << 1 << true << QStringLiteral("disk5,\"Back, up\",900,-5,10,Y");
}

void TestContentView::copy()
{
    QFETCH(int, row);
    QFETCH(bool, byKey);
    QFETCH(QString, expected);
    MainWindow window;
    ContentView *view = window.contentView();
    view->theDiskInfo()->setContainerList(
        {{newId(), u"X"_s, u"disk3"_s, 500, 120, u"Data, VM"_s, u"Data"_s, 370},
         {newId(), u"Y"_s, u"disk5"_s, 900, -5, u"Back, up"_s, u"Back, up"_s, 10}});
    QCoreApplication::processEvents();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    if (row >= 0)
        view->listView()->selectRow(row);
    view->listView()->setFocus();
    if (byKey)
        QTest::keyClick(view->listView(), Qt::Key_C, Qt::ControlModifier);
    else
        window.findChild<QAction *>(QStringLiteral("copy"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
}

void TestContentView::sliderEnds()
{
    ContentView view;
    QSlider *slider = view.daysSlider();
    QCOMPARE(slider->singleStep(), 1);
    slider->setValue(slider->minimum());
    QCOMPARE(view.visibleDuration(), 86400.0);
    QCOMPARE(view.usedSpaceChart()->visibleDuration(), 86400.0);
    slider->setValue(slider->maximum());
    QCOMPARE(view.visibleDuration(), 2419200.0);
    QCOMPARE(view.rateChart()->visibleDuration(), 2419200.0);
    slider->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(view.visibleDuration(), 27 * 86400.0);
}

void TestContentView::seriesRebuildsOncePerTurn()
{
    ContentView view;
    fillHistory(*view.theDiskInfo(), {diskA}, 50, 3600.0);
    QCoreApplication::processEvents();
    QSignalSpy used(view.usedSpaceChart()->pointSeries(), &QXYSeries::pointsReplaced);
    QSignalSpy rate(view.rateChart()->pointSeries(), &QXYSeries::pointsReplaced);
    view.listView()->selectRow(0); // 50 appends, each announced
    QCOMPARE(used.count(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(used.count(), 1);
    QCOMPARE(rate.count(), 1);
    QCOMPARE(view.usedSpaceChart()->pointSeries()->count(), 50);
    // The rule follows the store's overall rate: 1 GB an hour is 168 GB a week.
    QVERIFY(view.theDiskInfo()->overallRate() > 167.9);
    QCOMPARE(view.rateChart()->ruleSeries()->at(0).y(), view.theDiskInfo()->overallRate());
    QVERIFY(view.rateChart()->ruleSeries()->isVisible());
}

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
