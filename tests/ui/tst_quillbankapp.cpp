#include "helpwindow.h"
#include "mainwindow.h"
#include "quillbankapp.h"
#include "resourcepaths.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPdfDocument>
#include <QPdfView>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<QWidget *> openWindows()
{
    QList<QWidget *> open;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->isWindow() && !qobject_cast<QMenu *>(widget))
            open.append(widget);
    }
    return open;
}

QMenu *helpMenu(const MainWindow &window)
{
    for (QAction *action : window.menuBar()->actions()) {
        if (action->menu() && action->text().remove(u'&') == QStringLiteral("Help"))
            return action->menu();
    }
    return nullptr;
}

} // namespace

class TestQuillbankApp : public QObject
{
    Q_OBJECT
private slots:
    void launchOpensOnlyTheMainWindow();
    void helpMenuHoldsOnlyTheGuide();
    void helpTwiceGivesOneHelpWindow();
    void helpShowsTheGuideOnePageAtATime();
    void brokenPdfGivesAnEmptyViewer_data();
    void brokenPdfGivesAnEmptyViewer();
};

void TestQuillbankApp::launchOpensOnlyTheMainWindow()
{
    QuillbankApp app;
    app.start();
    QVERIFY(QTest::qWaitForWindowExposed(app.mainWindow()));
    const QList<QWidget *> open = openWindows();
    QCOMPARE(open.size(), 1);
    QCOMPARE(open.constFirst()->windowTitle(), QStringLiteral("Quillbank"));
    QVERIFY(!app.helpWindow());
}

void TestQuillbankApp::helpMenuHoldsOnlyTheGuide()
{
    QuillbankApp app;
    QMenu *menu = helpMenu(*app.mainWindow());
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("Quillbank Help"));
}

void TestQuillbankApp::helpTwiceGivesOneHelpWindow()
{
    QuillbankApp app;
    app.start();
    QAction *guide = helpMenu(*app.mainWindow())->actions().constFirst();
    guide->trigger();
    QPointer<HelpWindow> first = app.helpWindow();
    QVERIFY(first);
    guide->trigger();
    QCOMPARE(app.helpWindow(), first.data());
    QCOMPARE(openWindows().size(), 2);
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.cbegin(), windows.cend(),
                           [](QWidget *w) { return qobject_cast<HelpWindow *>(w) != nullptr; }),
             1);
    QCOMPARE(first->windowTitle(), QStringLiteral("Help Window"));

    // Closed and chosen again: a help window opens again.
    first->close();
    QTRY_VERIFY(!first);
    guide->trigger();
    QVERIFY(app.helpWindow());
    QVERIFY(app.helpWindow()->isVisible());
}

void TestQuillbankApp::helpShowsTheGuideOnePageAtATime()
{
    HelpWindow help(helpPdfPath());
    QCOMPARE(help.document()->status(), QPdfDocument::Status::Ready);
    QVERIFY(help.document()->pageCount() >= 3);
    QCOMPARE(help.view()->document(), help.document());
    QCOMPARE(help.view()->pageMode(), QPdfView::PageMode::SinglePage);
    QCOMPARE(help.view()->zoomMode(), QPdfView::ZoomMode::FitInView);
}

void TestQuillbankApp::brokenPdfGivesAnEmptyViewer_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("not a PDF") << QByteArray("%PDF-1.4 and then nothing useful") << true;
}

void TestQuillbankApp::brokenPdfGivesAnEmptyViewer()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("help.pdf"));
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    HelpWindow help(path);
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QVERIFY(!help.view()->document());
    QCOMPARE(help.windowTitle(), QStringLiteral("Help Window"));
}

QTEST_MAIN(TestQuillbankApp)
#include "tst_quillbankapp.moc"
