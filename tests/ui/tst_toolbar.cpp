#include "DiskInfo.h"
#include "answeringchooser.h"
#include "contentview.h"
#include "mainwindow.h"
#include "storehistory.h"

#include <QAction>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

const HistoryContainer volumesA{u"UUID-A"_s, u"disk3"_s, u"Macintosh HD"_s, 1000000, 1000, 10};
const HistoryContainer volumesB{u"UUID-B"_s, u"disk5"_s, u"Backup"_s, 2000000, 5000, 70};

} // namespace

class TestToolbar : public QObject
{
    Q_OBJECT
private slots:
    void toolsInOrder();
    void toolbarBelongsToTheMainWindow();
    void savingCsvWithoutSelectionAsksNothing();
    void fileToolsAskTheirDialogs_data();
    void fileToolsAskTheirDialogs();
    void savingCsvExportsTheSelectedContainer();
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
    fillHistory(*view.theDiskInfo(), {volumesA, volumesB}, 2, 60.0);
    QCoreApplication::processEvents();
    AnsweringChooser chooser;
    view.theDiskInfo()->setFileChooser(&chooser);
    view.findChild<QAction *>(QStringLiteral("savecsv"))->trigger();
    QCoreApplication::processEvents();
    QVERIFY(chooser.questions.isEmpty());
    QVERIFY(view.theDiskInfo()->ratesPoints().isEmpty()); // no selection made either
    view.theDiskInfo()->setFileChooser(nullptr);
}

void TestToolbar::fileToolsAskTheirDialogs_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<FileChooser::Mode>("mode");
    QTest::addColumn<FileChooser::ContentType>("type");
    QTest::newRow("Read JSON") << u"readdata"_s << FileChooser::Mode::Open
                               << FileChooser::ContentType::Json;
    QTest::newRow("Save As JSON") << u"savejson"_s << FileChooser::Mode::Save
                                  << FileChooser::ContentType::Json;
    QTest::newRow("Save Selection As CSV")
        << u"savecsv"_s << FileChooser::Mode::Save << FileChooser::ContentType::Csv;
}

void TestToolbar::fileToolsAskTheirDialogs()
{
    QFETCH(QString, tool);
    QFETCH(FileChooser::Mode, mode);
    QFETCH(FileChooser::ContentType, type);
    ContentView view;
    fillHistory(*view.theDiskInfo(), {volumesA, volumesB}, 2, 60.0);
    QCoreApplication::processEvents();
    view.listView()->selectRow(0);
    AnsweringChooser chooser;
    view.theDiskInfo()->setFileChooser(&chooser);
    view.findChild<QAction *>(tool)->trigger();
    QCOMPARE(chooser.questions.size(), 1);
    QCOMPARE(chooser.questions[0].mode, mode);
    QCOMPARE(chooser.questions[0].type, type);
    QCoreApplication::processEvents();
    view.theDiskInfo()->setFileChooser(nullptr);
}

void TestToolbar::savingCsvExportsTheSelectedContainer()
{
    ContentView view;
    fillHistory(*view.theDiskInfo(), {volumesA, volumesB}, 3, 60.0);
    QCoreApplication::processEvents();
    view.listView()->selectRow(1);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"export.csv"_s);
    AnsweringChooser chooser(QUrl::fromLocalFile(path));
    view.theDiskInfo()->setFileChooser(&chooser);
    view.findChild<QAction *>(u"savecsv"_s)->trigger();
    QTRY_VERIFY(QFile::exists(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString csv = QString::fromUtf8(file.readAll());
    QVERIFY(csv.contains(volumesB.firstVolName));
    QVERIFY(!csv.contains(volumesA.firstVolName));
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
