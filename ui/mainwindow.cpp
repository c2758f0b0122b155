#include "mainwindow.h"

#include "contentview.h"
#include "historyfollower.h"
#include "messageboxes.h"
#include "qtfilechooser.h"
#include "recorderaction.h"
#include "storeworker.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

template <typename Receiver, typename Slot>
QAction *addMenuAction(QMenu *menu, const char *name, const QString &title,
                       const QList<QKeySequence> &keys, Receiver *receiver, Slot slot)
{
    QAction *action = menu->addAction(title, receiver, slot);
    action->setObjectName(QLatin1StringView(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

// The platform's keys for a standard action, and the given one too: some
// platforms have none for Save As or Quit.
QList<QKeySequence> keysOf(QKeySequence::StandardKey key, QKeySequence also = {})
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!also.isEmpty() && !keys.contains(also))
        keys.append(also);
    return keys;
}

// The first local .json file among the dropped ones; empty when there is none.
QString droppedHistory(const QMimeData *data)
{
    for (const QUrl &url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && QtFileChooser::isOfType(path, FileChooser::ContentType::Json))
            return path;
    }
    return {};
}

// Every label of the window still reads in full at this size.
constexpr QSize smallest(800, 500);

} // namespace

MainWindow::MainWindow(DiskInfo *store, QWidget *parent)
    : QMainWindow(parent), m_content(new ContentView(store))
{
    setCentralWidget(m_content);
    addToolBar(Qt::TopToolBarArea, m_content->toolBar());
    createFileMenu();
    createEditMenu();
    createHelpMenu();
    watchStore();
    new HistoryFollower(this);
    setAcceptDrops(true);
    updateTitle();
    setMinimumSize(smallest);
    statusBar()->setSizeGripEnabled(false);
    // Not a passing message, which a menu's status tips would wipe out.
    m_checking = new QLabel(tr("Checking all containers… Escape stops."));
    m_checking->hide();
    statusBar()->addWidget(m_checking);
    resize(1200, 860);
}

DiskInfo *MainWindow::store() const
{
    return m_content->theDiskInfo();
}

void MainWindow::createFileMenu()
{
    using Keys = QKeySequence;
    QMenu *file = menuBar()->addMenu(tr("&File"));
    addMenuAction(file, "open", tr("&Open…"), keysOf(Keys::Open), this, &MainWindow::open);
    addMenuAction(file, "save", tr("&Save"), keysOf(Keys::Save), this, &MainWindow::save);
    addMenuAction(file, "saveas", tr("Save &As…"),
                  keysOf(Keys::SaveAs, Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S)), store(),
                  &DiskInfo::saveJSON);
    addMenuAction(file, "exportcsv", tr("&Export Selection as CSV…"), {Keys(Qt::CTRL | Qt::Key_E)},
                  m_content, &ContentView::saveSelectionAsCsv);
    m_recentMenu = file->addMenu(tr("Open &Recent"));
    m_recentMenu->setObjectName(QStringLiteral("recent"));
    m_recentMenu->setToolTipsVisible(true);
    setRecentFiles({});
    file->addSeparator();
    addMenuAction(file, "checkall", tr("&Check All"), keysOf(Keys::Refresh, Keys(Qt::Key_F5)),
                  m_content, &ContentView::checkAll);
    m_stop = addMenuAction(file, "stop", tr("S&top"), keysOf(Keys::Cancel, Keys(Qt::Key_Escape)),
                           store(), &DiskInfo::stopChecking);
    m_stop->setEnabled(false);
    new RecorderAction(RecorderAction::platformSchedule(), file);
    file->addSeparator();
    addMenuAction(file, "quit", tr("&Quit"), keysOf(Keys::Quit, Keys(Qt::CTRL | Qt::Key_Q)), this,
                  &QWidget::close);
}

void MainWindow::createEditMenu()
{
    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    addMenuAction(edit, "copy", tr("&Copy"), keysOf(QKeySequence::Copy), m_content,
                  &ContentView::copySelection);
}

void MainWindow::createHelpMenu()
{
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("help"));
    QAction *guide = help->addAction(tr("Quillbank Help"), this, &MainWindow::helpRequested);
    guide->setObjectName(QStringLiteral("quillbankhelp"));
}

void MainWindow::setRecentFiles(const QStringList &paths)
{
    m_recentMenu->clear();
    for (const QString &path : paths) {
        const QString number = QString::number(m_recentMenu->actions().size() + 1);
        QAction *open = m_recentMenu->addAction(u'&' + number + u' ' + QFileInfo(path).fileName(),
                                                this, [this, path] { openHistory(path); });
        open->setToolTip(path);
        open->setStatusTip(path);
    }
    m_recentMenu->setEnabled(!paths.isEmpty());
}

void MainWindow::watchStore()
{
    connect(store(), &DiskInfo::changed, this, &MainWindow::historyChanged);
    connect(store(), &DiskInfo::checkingChanged, this, &MainWindow::checkingChanged);
    connect(m_content->worker(), &StoreWorker::busyChanged, this,
            [this](bool busy) { busy ? setCursor(Qt::BusyCursor) : unsetCursor(); });
    connect(store(), &DiskInfo::historyRead, this, &MainWindow::fileChanged);
    connect(store(), &DiskInfo::historySaved, this, &MainWindow::saved);
    connect(store(), &DiskInfo::saveCancelled, this, [this] { m_afterSave = nullptr; });
    connect(store(), &DiskInfo::failed, this, &MainWindow::failed);
    connect(m_content, &ContentView::readRequested, this, &MainWindow::open);
    store()->setSaveQuestions(
        {[this](qsizetype onlyInFile) { return askToMergeReadings(this, onlyInFile); },
         [this](const QString &path, const QString &reason) {
             return askToReplaceUnreadable(this, path, reason);
         },
         [](bool working) {
             if (working)
                 QGuiApplication::setOverrideCursor(Qt::WaitCursor);
             else
                 QGuiApplication::restoreOverrideCursor();
         }});
}

void MainWindow::checkingChanged(bool checking)
{
    m_stop->setEnabled(checking);
    m_checking->setVisible(checking);
}

void MainWindow::historyChanged(DiskInfo::Property property)
{
    // A read marks it too, and is then cleared by historyRead.
    if (property == DiskInfo::Property::GlobalConData && !store()->takingNewReadings())
        setWindowModified(true);
}

void MainWindow::fileChanged(const QString &path)
{
    m_file = path;
    setWindowModified(false);
    updateTitle();
}

void MainWindow::saved(const QString &path)
{
    fileChanged(path);
    if (m_afterSave)
        std::exchange(m_afterSave, nullptr)();
}

void MainWindow::failed(DiskInfo::Failure failure, const QString &reason, const QString &path)
{
    // A failed save leaves the window open; a failed export does not matter to it.
    if (failure == DiskInfo::Failure::CannotWrite)
        m_afterSave = nullptr;
    showFailure(this, failure, reason, path);
}

void MainWindow::updateTitle()
{
    const QString app = tr("Quillbank");
    if (m_file.isEmpty())
        setWindowTitle(app + u"[*]");
    else
        setWindowTitle(QFileInfo(m_file).fileName() + u"[*] — " + app);
}

void MainWindow::save()
{
    if (m_file.isEmpty())
        store()->saveJSON();
    else
        store()->saveJSONTo(m_file);
}

void MainWindow::open()
{
    const auto choose = [store = store()] { store->readData(); };
    if (settleUnsaved(choose))
        choose();
}

void MainWindow::openHistory(const QString &path)
{
    const auto read = [store = store(), path] { store->readJSONFrom(path); };
    if (settleUnsaved(read))
        read();
}

// True when nothing unsaved stands in the way: there was none, the user gave
// it up, or it was saved to the current file. When Save As has to ask for a
// file first, `then` runs once it is saved.
bool MainWindow::settleUnsaved(std::function<void()> then)
{
    if (!isWindowModified())
        return true;
    const QMessageBox::StandardButton answer = askToSaveReadings(this, m_file);
    if (answer != QMessageBox::Save)
        return answer == QMessageBox::Discard;
    save();
    if (!isWindowModified())
        return true;
    // Save As answers later, from its dialog; a failed save changes nothing.
    if (m_file.isEmpty())
        m_afterSave = std::move(then);
    return false;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->setAccepted(settleUnsaved([this] { close(); }));
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedHistory(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedHistory(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Asked once the drop is over, so that the dragging program is not kept waiting.
    QTimer::singleShot(0, this, [this, path] { openHistory(path); });
}
