// Draws docs/screenshot.png: the app with a demo history read through Read
// JSON, one reading taken from a stand-in listing program with Check All, and
// the first container selected.
// usage: quillbank-screenshot LISTING_PROGRAM HISTORY.json OUTPUT.png
#include "DiskInfo.h"
#include "clock.h"
#include "containertable.h"
#include "contentview.h"
#include "filechooser.h"
#include "listingsurvey.h"
#include "localfiles.h"
#include "mainwindow.h"
#include "scrollingchart.h"
#include "storeworker.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

#include <cstdio>

namespace {

// Answers every open dialog with the demo history and cancels every save.
class DemoChooser : public FileChooser
{
public:
    explicit DemoChooser(QUrl history) : m_history(std::move(history)) {}
    void choose(Mode mode, ContentType, Completion completion) override
    {
        const bool open = mode == Mode::Open;
        QTimer::singleShot(0, [open, completion = std::move(completion), url = m_history] {
            completion(open ? Response::Ok : Response::Cancel, open ? url : QUrl());
        });
    }

private:
    QUrl m_history;
};

void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Until the store's work for the tool is done.
void trigger(const MainWindow &window, const char *tool)
{
    if (auto *action = window.findChild<QAction *>(QLatin1StringView(tool)))
        action->trigger();
    do
        settle(100);
    while (window.contentView()->worker()->isBusy());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: quillbank-screenshot LISTING_PROGRAM HISTORY.json OUT.png\n");
        return 2;
    }
    auto *store = new DiskInfo(std::make_unique<SystemClock>(),
                               std::make_unique<ListingSurvey>(QString::fromLocal8Bit(argv[1])),
                               std::make_unique<LocalFiles>());
    MainWindow window(store);
    DemoChooser chooser(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[2])));
    store->setFileChooser(&chooser);
    window.resize(1180, 900);
    window.show();
    settle(300);

    trigger(window, "readdata");
    trigger(window, "checkcons");
    window.contentView()->listView()->selectRow(0);
    settle(500);
    // Half a window past the last reading, where the trend's projection runs.
    if (auto *used = window.findChild<ScrollingChart *>(QStringLiteral("usedSpaceChart"))) {
        QScrollBar *bar = used->scrollBar();
        bar->setValue(bar->maximum() - bar->pageStep() / 2);
        settle(300);
    }
    std::fprintf(stderr, "readings %lld, containers %lld, series points %lld\n",
                 static_cast<long long>(store->globalConData().size()),
                 static_cast<long long>(store->containerList().size()),
                 static_cast<long long>(store->ratesPoints().size()));

    const bool saved = window.grab().save(QString::fromLocal8Bit(argv[3]));
    store->setFileChooser(nullptr);
    return saved ? 0 : 1;
}
