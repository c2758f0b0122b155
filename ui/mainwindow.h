#pragma once

#include <QMainWindow>

class ContentView;
class DiskInfo;

// The main window, titled "Quillbank": the content view with its toolbar,
// Edit ▸ Copy for the selected container and the Help menu.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Shows the given store, taking it over.
    explicit MainWindow(DiskInfo *store, QWidget *parent = nullptr);

    ContentView *contentView() const { return m_content; }

signals:
    // "Quillbank Help" was chosen.
    void helpRequested();

private:
    void createActions();

    ContentView *m_content;
};
