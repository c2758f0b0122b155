#include "quillbankapp.h"

#include "DiskInfo.h"
#include "defaulthistory.h"
#include "helpwindow.h"
#include "mainwindow.h"
#include "resourcepaths.h"
#include "windowmemory.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTranslator>

using namespace Qt::StringLiterals;

#include <QFileInfo>

QuillbankApp::QuillbankApp(DiskInfo *store, QObject *parent)
    : QObject(parent), m_mainWindow(new MainWindow(store))
{
    connect(m_mainWindow, &MainWindow::helpRequested, this, &QuillbankApp::showHelp);
}

QuillbankApp::~QuillbankApp()
{
    delete m_helpWindow;
    delete m_mainWindow;
}

void QuillbankApp::installTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(u"quillbank_en"_s, u":/i18n"_s))
        QCoreApplication::installTranslator(translator);
}

void QuillbankApp::rememberIn(std::unique_ptr<QSettings> settings)
{
    new WindowMemory(m_mainWindow, std::move(settings));
}

void QuillbankApp::start(const QString &historyFile)
{
    m_mainWindow->show();
    // Without a file, the history the recorder fills, once it has begun.
    const QString history = historyFile.isEmpty() && QFileInfo::exists(defaultHistoryPath())
                                ? defaultHistoryPath()
                                : historyFile;
    if (!history.isEmpty())
        m_mainWindow->openHistory(history);
}

void QuillbankApp::showHelp()
{
    if (!m_helpWindow) {
        // Made afresh after each close, so the PDF is looked up again.
        m_helpWindow = new HelpWindow(helpPdfPath());
        m_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        // Closing the main window ends the app even while help is open.
        m_helpWindow->setAttribute(Qt::WA_QuitOnClose, false);
    }
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}
