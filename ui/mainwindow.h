#pragma once

#include "DiskInfo.h"

#include <QMainWindow>

#include <functional>

class ContentView;
class QLabel;

// The main window: the content view with its toolbar, the File menu with the
// standard keys, Edit ▸ Copy for the selected container and the Help menu.
// While Check All runs the window stays usable and says so in its status
// bar; File ▸ Stop (Escape) ends the listing tool.
// Titled "Quillbank", after the name of the history file once one is read or
// saved, with the modified marker while there are readings not saved; those
// readings are not lost without a question. Shows why an operation failed.
// A .json file dropped on it is read as Read JSON would.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Shows the given store, taking it over.
    explicit MainWindow(DiskInfo *store, QWidget *parent = nullptr);

    ContentView *contentView() const { return m_content; }

    // Reads the history at path as Read JSON would, once readings not saved
    // have been saved or given up.
    void openHistory(const QString &path);
    // File ▸ Open… and Read JSON: the file dialog, once readings not saved
    // have been saved or given up.
    void open();
    // File ▸ Save: straight to the current file, or Save As JSON without one.
    void save();
    // The files of File ▸ Open Recent, the latest first.
    void setRecentFiles(const QStringList &paths);

signals:
    // "Quillbank Help" was chosen.
    void helpRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    DiskInfo *store() const;
    void createFileMenu();
    void createEditMenu();
    void createHelpMenu();
    void watchStore();
    void checkingChanged(bool checking);
    void historyChanged(DiskInfo::Property property);
    void fileChanged(const QString &path);
    void saved(const QString &path);
    void failed(DiskInfo::Failure failure, const QString &reason, const QString &path);
    void updateTitle();
    bool settleUnsaved(std::function<void()> then);

    ContentView *m_content;
    QMenu *m_recentMenu = nullptr;
    QAction *m_stop = nullptr;
    QLabel *m_checking = nullptr;
    QString m_file;
    // What waits for Save As JSON to finish: closing, or reading a dropped file.
    std::function<void()> m_afterSave;
};
