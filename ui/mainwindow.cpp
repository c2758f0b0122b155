#include "mainwindow.h"

#include "DiskInfo.h"
#include "contentview.h"

#include <QAction>
#include <QMenuBar>
#include <QToolBar>

MainWindow::MainWindow(DiskInfo *store, QWidget *parent)
    : QMainWindow(parent), m_content(new ContentView(store))
{
    setWindowTitle(tr("Quillbank"));
    setCentralWidget(m_content);
    addToolBar(Qt::TopToolBarArea, m_content->toolBar());
    createActions();
    resize(1000, 860);
}

void MainWindow::createActions()
{
    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    QAction *copy = edit->addAction(tr("&Copy"), m_content, &ContentView::copySelection);
    copy->setObjectName(QStringLiteral("copy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("help"));
    QAction *guide = help->addAction(tr("Quillbank Help"), this, &MainWindow::helpRequested);
    guide->setObjectName(QStringLiteral("quillbankhelp"));
}
