#include "DiskInfo.h"
#include "cancellingchooser.h"
#include "contentview.h"
#include "mainwindow.h"
#include "storehistory.h"

#include <QAction>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QToolBar>

class TestToolbar : public QObject
{
    Q_OBJECT
private slots:
    void toolsInOrder();
    void toolbarBelongsToTheMainWindow();
    void savingCsvWithoutSelectionAsksNothing();
    void contextMenuShowsAndHidesTools();
};

void TestToolbar::toolsInOrder()
{
    ContentView view;
    QToolBar *toolBar = view.toolBar();
    QCOMPARE(toolBar->objectName(), QStringLiteral("ContentView.toolbar"));
    struct Tool {
        const char *name;
        const char *title;
        const char *tip;
    };
    const Tool expected[] = {
        {"readdata", "Read JSON", "Read data from JSON file"},
        {"checkcons", "Check All", "Check all accessible APFS containers."},
        {"savejson", "Save As JSON", "Save all data as JSON file."},
        {"savecsv", "Save Selection As CSV", "Save selected container data as CSV file."},
    };
    const QList<QAction *> actions = toolBar->actions();
    QCOMPARE(actions.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(actions[i]->objectName(), QLatin1StringView(expected[i].name));
        QCOMPARE(actions[i]->text(), QLatin1StringView(expected[i].title));
        QCOMPARE(actions[i]->toolTip(), QLatin1StringView(expected[i].tip));
        QVERIFY(actions[i]->shortcuts().isEmpty());
        QVERIFY(actions[i]->isEnabled());
        QVERIFY(actions[i]->isVisible());
        QVERIFY(!actions[i]->icon().isNull());
    }
}

void TestToolbar::toolbarBelongsToTheMainWindow()
{
    MainWindow window;
    QToolBar *toolBar = window.findChild<QToolBar *>(QStringLiteral("ContentView.toolbar"));
    QVERIFY(toolBar);
    QCOMPARE(window.toolBarArea(toolBar), Qt::TopToolBarArea);
}

void TestToolbar::savingCsvWithoutSelectionAsksNothing()
{
    ContentView view;
    fillHistory(
        *view.theDiskInfo(),
        {{QStringLiteral("U"), QStringLiteral("disk3"), QStringLiteral("Data"), 100, 10, 1}}, 2,
        60.0);
    QCoreApplication::processEvents();
    CancellingChooser chooser;
    view.theDiskInfo()->setFileChooser(&chooser);
    view.findChild<QAction *>(QStringLiteral("savecsv"))->trigger();
    QCOMPARE(chooser.asked, 0);
    QVERIFY(view.theDiskInfo()->ratesPoints().isEmpty()); // no selection made either
    view.theDiskInfo()->setFileChooser(nullptr);
}

void TestToolbar::contextMenuShowsAndHidesTools()
{
    ContentView view;
    const std::unique_ptr<QMenu> menu = view.toolMenu();
    const QList<QAction *> entries = menu->actions();
    QCOMPARE(entries.size(), 4);
    QCOMPARE(entries[2]->text(), QStringLiteral("Save As JSON"));
    QVERIFY(entries[2]->isChecked());
    entries[2]->setChecked(false);
    auto *saveJson = view.findChild<QAction *>(QStringLiteral("savejson"));
    QVERIFY(!saveJson->isVisible());
    QVERIFY(view.findChild<QAction *>(QStringLiteral("savecsv"))->isVisible());
    // A new menu reflects the hidden tool, and shows it again.
    const std::unique_ptr<QMenu> again = view.toolMenu();
    QVERIFY(!again->actions()[2]->isChecked());
    again->actions()[2]->setChecked(true);
    QVERIFY(saveJson->isVisible());
}

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
