#include "DiskInfo.h"
#include "contentview.h"
#include "filechooser.h"
#include "mainwindow.h"
#include "storehistory.h"

#include <QAction>
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

namespace
{

class CountingChooser : public FileChooser
{
public:
    int asked = 0;
    void choose(Mode, ContentType, Completion completion) override
    {
        ++asked;
        completion(Response::Cancel, {});
    }
};

} // namespace

void TestToolbar::savingCsvWithoutSelectionAsksNothing()
{
    ContentView view;
    fillHistory(
        *view.theDiskInfo(),
        {{QStringLiteral("U"), QStringLiteral("disk3"), QStringLiteral("Data"), 100, 10, 1}}, 2,
        60.0);
    QCoreApplication::processEvents();
    CountingChooser chooser;
    view.theDiskInfo()->setFileChooser(&chooser);
    view.findChild<QAction *>(QStringLiteral("savecsv"))->trigger();
    QCOMPARE(chooser.asked, 0);
    QVERIFY(view.theDiskInfo()->ratesPoints().isEmpty()); // no selection made either
    view.theDiskInfo()->setFileChooser(nullptr);
}

QTEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
