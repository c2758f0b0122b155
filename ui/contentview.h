#pragma once

#include "DiskInfo.h"

#include "units.h"
#include <QUuid>

#include <QWidget>

#include <memory>
#include <optional>

class ContainerListModel;
class ContainerTable;
class QAction;
class QLabel;
class QLayout;
class QMenu;
class QSlider;
class QTableView;
class QToolBar;
class QtFileChooser;
class RateChart;
class StoreWorker;
class UsedSpaceChart;

// The main window's content, top to bottom: the containers of the latest
// reading, the help lines (until the first Check All) or the summary line,
// the used-space chart, the rate and forecast lines, the rate chart and the
// days slider. It owns the store and starts every store operation: the
// selection from the list, the others from its toolbar. The store's slow work
// runs on its worker, so the window goes on answering meanwhile.
class ContentView : public QWidget
{
    Q_OBJECT
public:
    // Takes over the store: one with the real listing tool and files, or a
    // test's stand-ins.
    explicit ContentView(DiskInfo *store, QWidget *parent = nullptr);
    ~ContentView() override;

    DiskInfo *theDiskInfo() const { return m_diskInfo; }
    QToolBar *toolBar() const { return m_toolBar; }
    ContainerTable *listView() const { return m_list; }
    QSlider *daysSlider() const { return m_slider; }
    StoreWorker *worker() const { return m_worker.get(); }

    // Calls the operation with the selected container's conUUID; nothing
    // when no row, or no row of the current list, is selected.
    void forSelectedContainer(void (DiskInfo::*operation)(const QString &));

    // Shows a history read or followed as after Check All, and once the list
    // is redrawn selects the container conUUID names when it is listed, else
    // the first, so that the charts and lines show it at once.
    void showHistory(const QString &conUUID = {});
    // The selected container's conUUID; empty when none is selected.
    QString selectedConUUID() const;

    // The copy text of the selected container, empty when none is selected.
    QString copyText() const;
    // Puts the copy text of the selected container on the clipboard.
    void copySelection() const;

    // The toolbar's context menu: one checkable entry per tool, to show or hide it.
    std::unique_ptr<QMenu> toolMenu() const;

    // The Check All and Save Selection As CSV tools, also on the File menu.
    // Check All returns at once; the reading is recorded when the tool ends.
    void checkAll();
    void saveSelectionAsCsv();

signals:
    // The Read JSON tool: the window first deals with readings not saved.
    void readRequested();

private:
    void buildLayout();
    void buildList();
    void buildLines();
    QLayout *buildSliderRow();
    void buildToolBar();
    QAction *addTool(const QString &name, const QString &title, const QString &tip,
                     const QString &themeIcon);
    void showToolMenu(const QPoint &position);
    void storeChanged(DiskInfo::Property property);
    void checkingChanged(bool checking);
    void scheduleRefresh();
    void refresh();
    void refreshLines();
    void selectionChanged();
    void selectListed(const QString &conUUID);
    void setVisibleDays(int days);

    DiskInfo *m_diskInfo;
    std::unique_ptr<QtFileChooser> m_fileChooser;
    // Goes before the store, its child, so that no job outlives it.
    std::unique_ptr<StoreWorker> m_worker;
    std::optional<QUuid> m_selection;
    double m_visibleDuration = 14 * secondsPerDay;
    bool m_hasRun = false;
    bool m_hasSelected = false;        // a container's series has been built
    std::optional<QString> m_toSelect; // by showHistory, once the list is redrawn

    ContainerListModel *m_model;
    ContainerTable *m_list;
    QWidget *m_helpLines;
    QLabel *m_summaryLine;
    QWidget *m_rateLines;
    QLabel *m_rateLine;
    QLabel *m_forecastLine;
    QLabel *m_trendLine;
    UsedSpaceChart *m_usedChart;
    RateChart *m_rateChart;
    QSlider *m_slider;
    QToolBar *m_toolBar;

    // Store changes are gathered and shown once per turn of the event loop.
    bool m_refreshPending = false;
    bool m_listDirty = false;
    bool m_chartsDirty = false;
};
