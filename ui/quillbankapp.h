#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class DiskInfo;
class HelpWindow;
class MainWindow;
class QSettings;

// The application: the main window, shown at launch, and at most one help
// window, opened (or raised) through the Help menu.
class QuillbankApp : public QObject
{
    Q_OBJECT
public:
    // Shows the given store, taking it over: the real pieces or a test's stand-ins.
    explicit QuillbankApp(DiskInfo *store, QObject *parent = nullptr);
    ~QuillbankApp() override;

    // Loads the window's translation: its texts are English, and it gives the
    // plural forms of those that count.
    static void installTranslations();
    // Keeps the main window as the user leaves it in settings, and restores it.
    void rememberIn(std::unique_ptr<QSettings> settings);
    // Shows the main window, then reads the history file given, or else the
    // default history when it exists, as Read JSON would; nothing else is
    // read or run.
    void start(const QString &historyFile = QString());
    // Opens the help window, or brings the open one to the front.
    void showHelp();

    MainWindow *mainWindow() const { return m_mainWindow; }

private:
    MainWindow *m_mainWindow;
    QPointer<HelpWindow> m_helpWindow;
};
