#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class MainWindow;
class QSettings;

// Keeps the main window as the user left it, in the given settings: its
// geometry, the days slider, the list's column widths and the five history
// files read or saved last (File ▸ Open Recent, those that still exist).
// Restores them when made; writes each as it changes, the geometry when the
// window closes.
class WindowMemory : public QObject
{
    Q_OBJECT
public:
    WindowMemory(MainWindow *window, std::unique_ptr<QSettings> settings);
    ~WindowMemory() override;

    QStringList recentFiles() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restore();
    void watch();
    void remember(const QString &path);
    void showRecentFiles();

    MainWindow *m_window;
    std::unique_ptr<QSettings> m_settings;
};
