#include "containertable.h"
#include "contentview.h"
#include "defaulthistory.h"
#include "helpwindow.h"
#include "histories.h"
#include "listingxml.h"
#include "localfiles.h"
#include "mainwindow.h"
#include "quillbankapp.h"
#include "recorderaction.h"
#include "resourcepaths.h"
#include "scripts.h"
#include "standins.h"
#include "storeworker.h"
#include "systemdschedule.h"
#include "windowmemory.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;
using Outcome = StandInListing::Outcome;

namespace {

const HistoryContainer diskA{u"AAAA"_s, u"disk3"_s, u"Data"_s, 1000000000000, 400000000000, 1};

// The title as shown, and the message shown over the window.
QString title(const QWidget *window)
{
    return window->windowHandle()->title();
}
QString message(const QWidget *window)
{
    const auto *box = window->findChild<QMessageBox *>();
    return box ? box->text() + u' ' + box->informativeText() : QString();
}

// The systemd user manager: no manager when state is nothing, else the
// timer's unit file state, which the calls change as the manager would.
class StandInUnits : public UnitManager
{
public:
    std::optional<QString> state;
    QStringList calls;
    std::optional<QString> unitFileState(const QString &, QString *error) override
    {
        *error = u"stand-in: no user manager"_s;
        return state;
    }
    bool call(const QString &method, const QVariantList &, QString *) override
    {
        calls.append(method);
        if (method.endsWith(u"UnitFiles"))
            state = method.startsWith(u"Enable") ? u"enabled"_s : u"disabled"_s;
        return true;
    }
};

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

    StandInStore *m_standIns = nullptr;
    std::unique_ptr<MainWindow> m_window;
    StandInChooser m_chooser;

    void press(const QKeySequence &keys) { QTest::keySequence(m_window.get(), keys); }
    bool idle() const { return !m_window->contentView()->worker()->isBusy(); }
    // Answers the next question from within its own event loop.
    static void answerNextQuestion(QMessageBox::StandardButton answer)
    {
        QTimer::singleShot(0, [answer] {
            qobject_cast<QMessageBox *>(QApplication::activeModalWidget())->button(answer)->click();
        });
    }

private slots:
    void initTestCase() { QuillbankApp::installTranslations(); }

    void init()
    {
        m_standIns = new StandInStore;
        m_standIns->listing->containers = {readingOf(diskA, 0)};
        m_window = std::make_unique<MainWindow>(m_standIns->release());
        m_chooser = StandInChooser();
        m_standIns->store.setFileChooser(&m_chooser);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(), delete m_standIns; }

    // Each File key reaches its operation, whose failure names the tool's
    // reason, the file (also the one chosen) or the container.
    void failureIsShown_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("named");
        const QString tool = u"stand-in failure"_s;
        QTest::newRow("check all, tool fails") << u"F5"_s << Outcome::ToolFails << tool;
        QTest::newRow("check all, undecodable") << u"F5"_s << Outcome::Undecodable << tool;
        QTest::newRow("open, unreadable") << u"Ctrl+O"_s << Outcome::Lists << "/h/x.json";
        QTest::newRow("save, unwritable") << u"Ctrl+S"_s << Outcome::Lists << "/h/x.json";
        QTest::newRow("save as, unwritable") << u"Ctrl+Shift+S"_s << Outcome::Lists << "/h/x.json";
        QTest::newRow("export, unwritable") << u"Ctrl+E"_s << Outcome::Lists << "/h/x.csv";
        // A date beyond the calendar cannot be written as a CSV row.
        QTest::newRow("export, out of range") << u"Ctrl+E"_s << Outcome::Lists << diskA.conUUID;
    }
    void failureIsShown()
    {
        QFETCH(QString, keys);
        QFETCH(Outcome, outcome);
        QFETCH(QString, named);
        fillHistory(m_standIns->store, {diskA}, 2, 86400.0, named == diskA.conUUID ? 1e18 : 8e8);
        QTRY_COMPARE(m_window->contentView()->listView()->model()->rowCount(), 1);
        m_window->contentView()->listView()->selectRow(0);
        m_standIns->listing->outcome = outcome;
        m_standIns->files->failing = {named};
        m_chooser.path = named;
        if (keys == u"Ctrl+O")
            answerNextQuestion(QMessageBox::Discard); // the readings just taken
        press(QKeySequence(keys));
        QTRY_VERIFY2(message(m_window.get()).contains(named), qPrintable(message(m_window.get())));
        // A file read, saved or exported is named in the text itself, the reason beneath.
        if (named.startsWith(u'/'))
            QVERIFY(m_window->findChild<QMessageBox *>()->text().contains(named.mid(3)));
    }

    // Readings not saved mark the title, and quitting asks about them. Save
    // goes straight to the file read, or asks for one.
    void quitAsks_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("current");
        QTest::newRow("save, asking for a file") << QMessageBox::Save << QString();
        QTest::newRow("save to the file read") << QMessageBox::Save << u"/h/read.json"_s;
        QTest::newRow("discard") << QMessageBox::Discard << QString();
        QTest::newRow("cancel") << QMessageBox::Cancel << QString();
    }
    void quitAsks()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, current);
        m_standIns->files->histories.insert(u"/h/read.json"_s, {});
        if (!current.isEmpty())
            m_standIns->store.readJSONFrom(current);
        press(Qt::Key_F5);
        QTRY_VERIFY(idle());
        QCOMPARE(title(m_window.get()),
                 current.isEmpty() ? u"Quillbank*"_s : u"read.json* — Quillbank"_s);
        // The dialog is answered only when there is no file to save straight to.
        const QString kept = current.isEmpty() ? u"/h/kept.json"_s : current;
        m_chooser.path = current.isEmpty() ? kept : QString();
        answerNextQuestion(answer);
        press(QKeySequence(u"Ctrl+Q"_s));
        QTRY_COMPARE(m_window->isVisible(), answer == QMessageBox::Cancel);
        const bool saved = answer == QMessageBox::Save;
        QCOMPARE(m_standIns->files->histories.value(kept).size(), saved ? 1 : 0);
        QCOMPARE(m_window->isWindowModified(), !saved);
    }

    // Open… does not drop readings not saved without asking first.
    void openAsksFirst_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::newRow("discard") << QMessageBox::Discard;
        QTest::newRow("cancel") << QMessageBox::Cancel;
    }
    void openAsksFirst()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        press(Qt::Key_F5);
        QTRY_VERIFY(idle());
        answerNextQuestion(answer);
        press(QKeySequence(u"Ctrl+O"_s));
        QTest::qWait(0);
        QCOMPARE(m_chooser.asked.size(), answer == QMessageBox::Discard ? 1 : 0);
    }

    // A history given, or else the recorder's default one when it exists,
    // opens with its last reading listed and the first container selected;
    // a broken one leaves an empty window and says why.
    void openAtStart_data()
    {
        QTest::addColumn<QString>("given"); // empty: none
        QTest::addColumn<bool>("readable");
        QTest::newRow("history") << u"/h/start.json"_s << true;
        QTest::newRow("broken") << u"/h/start.json"_s << false;
        QTest::newRow("default history") << QString() << true;
        QTest::newRow("broken default history") << QString() << false;
    }
    void openAtStart()
    {
        QFETCH(QString, given);
        QFETCH(bool, readable);
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        const QString path = given.isEmpty() ? defaultHistoryPath() : given;
        if (given.isEmpty()) // the file has to be there; the stand-in reads it
            QVERIFY(QDir().mkpath(QFileInfo(path).path()) &&
                    QFile(path).open(QIODevice::WriteOnly));
        StandInStore standIns;
        if (readable)
            standIns.files->histories.insert(path, {{newId(), 8e8, {readingOf(diskA, 0)}}});
        QuillbankApp app(standIns.release());
        app.start(given);
        QTRY_VERIFY(!app.mainWindow()->contentView()->worker()->isBusy());
        QCOMPARE(title(app.mainWindow()),
                 readable ? u"%1 — Quillbank"_s.arg(QFileInfo(path).fileName()) : u"Quillbank"_s);
        QCOMPARE(message(app.mainWindow()).contains(path), !readable);
        QTRY_COMPARE(app.mainWindow()->contentView()->listView()->model()->rowCount(),
                     readable ? 1 : 0);
        QTRY_COMPARE(standIns.store.ratesPoints().size(), readable ? 1 : 0);
        QVERIFY(!app.mainWindow()->isWindowModified());
    }

    // Readings a real record adds to the open file show up in the window,
    // beside its own unsaved one; a file that stops reading as a history is
    // said in the status bar, and the window keeps what it has.
    void followsTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"history.json"_s);
        const QString listing =
            writeListingTool(dir, u"listing"_s, listingXml({{"C-1", "disk2", 100, 40, {}}}));
        const auto record = [&] {
            return QProcess::execute(u"" QUILLBANK_BIN_DIR "/quillbank-cli"_s,
                                     {u"record"_s, path, u"--probe"_s, listing});
        };
        QCOMPARE(record(), 0);
        auto *store =
            new DiskInfo(std::make_unique<FixedClock>(), std::make_unique<StandInListing>(),
                         std::make_unique<LocalFiles>());
        MainWindow window(store);
        const auto idle = [&] { return !window.contentView()->worker()->isBusy(); };
        store->readJSONFrom(path);
        QTRY_VERIFY(idle());
        QCOMPARE(record(), 0);
        QTRY_COMPARE(store->globalConData().size(), 2);
        QVERIFY(!window.isWindowModified()); // taken in, not new
        window.contentView()->checkAll();    // the window's own reading, not saved
        QTRY_VERIFY(idle());
        QCOMPARE(record(), 0);
        QTRY_COMPARE(store->globalConData().size(), 4);
        QVERIFY(window.isWindowModified());
        QTRY_COMPARE(window.contentView()->selectedConUUID(), u"C-1"_s);
        QFile broken(path);
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("[") == 1);
        broken.close();
        QTRY_VERIFY(window.statusBar()->currentMessage().contains(u"no longer reads"_s));
        QCOMPARE(store->globalConData().size(), 4);
        QVERIFY(!window.findChild<QMessageBox *>());
    }

    // "Take a Reading Every Hour" shows the timer's state and switches it,
    // first writing units that are not installed; without a user manager it
    // says why and stays unchecked.
    void readingEveryHour_data()
    {
        QTest::addColumn<std::optional<QString>>("state");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<bool>("on");
        QTest::newRow("off") << std::optional(u"disabled"_s) << u"EnableUnitFiles StartUnit"_s
                             << true;
        QTest::newRow("not installed")
            << std::optional(QString()) << u"Reload EnableUnitFiles StartUnit"_s << true;
        QTest::newRow("on") << std::optional(u"enabled"_s) << u"DisableUnitFiles StopUnit"_s
                            << false;
        QTest::newRow("no user manager") << std::optional<QString>() << QString() << false;
    }
    void readingEveryHour()
    {
        QFETCH(std::optional<QString>, state);
        QTemporaryDir units;
        auto *manager = new StandInUnits;
        manager->state = state;
        QMenu menu;
        RecorderAction action(
            std::make_unique<SystemdSchedule>(std::unique_ptr<UnitManager>(manager), units.path(),
                                              u"/opt/q 100%/quillbank-cli"_s),
            &menu);
        emit menu.aboutToShow();
        QCOMPARE(action.isChecked(), state == u"enabled");
        action.trigger();
        QTEST(manager->calls.join(u' '), "calls");
        QTEST(action.isChecked(), "on");
        const QByteArray service = fileContents(units.filePath(u"quillbank-record.service"_s));
        QCOMPARE(service.contains("\nExecStart=\"/opt/q 100%%/quillbank-cli\" record\n"),
                 state == QString());
        const auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QCOMPARE(box && box->informativeText().contains(u"stand-in: no user manager"_s), !state);
        delete box;
    }

    // The window comes back as it was left, with the files read or saved last.
    void remembered()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(u"settings.ini"_s);
        const auto memory = [&ini](MainWindow *window) {
            return new WindowMemory(window, std::make_unique<QSettings>(ini, QSettings::IniFormat));
        };
        memory(m_window.get());
        ContentView *view = m_window->contentView();
        view->daysSlider()->setValue(5);
        view->listView()->horizontalHeader()->resizeSection(0, 123);
        for (int file = 0; file < 7; ++file) {
            const QString path = dir.filePath(QString::number(file) + u".json"_s);
            QFile(path).open(QIODevice::WriteOnly);
            emit m_standIns->store.historySaved(path);
        }
        m_window->close();
        StandInStore again;
        MainWindow window(again.release());
        memory(&window);
        QCOMPARE(window.contentView()->daysSlider()->value(), 5);
        QCOMPARE(window.contentView()->listView()->columnWidth(0), 123);
        QStringList recent;
        for (const QAction *action : window.findChild<QMenu *>(u"recent"_s)->actions())
            recent.append(action->text());
        QCOMPARE(recent, QStringList({u"&1 6.json"_s, u"&2 5.json"_s, u"&3 4.json"_s,
                                      u"&4 3.json"_s, u"&5 2.json"_s}));
    }

    // The guide opens, and the keys page through it.
    void helpPages()
    {
        HelpWindow help(helpPdfPath());
        help.show();
        QVERIFY(QTest::qWaitForWindowActive(&help));
        QTest::keySequence(&help, QKeySequence(u"PgDown"_s));
        QCOMPARE(help.currentPage(), 1);
        QVERIFY(help.findChild<QLabel *>(u"page"_s)->text().startsWith(u"page 2 of "_s));
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
