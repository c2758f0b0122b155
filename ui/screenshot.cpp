// Draws docs/screenshot.png: the app started with a demo history, as a new
// user's first start opens the recorder's history, the first container
// selected at once; then `quillbank-cli record` adds a reading from a
// stand-in listing program, which the window takes in from the file.
// usage: quillbank-screenshot LISTING_PROGRAM HISTORY.json OUTPUT.png
#include "DiskInfo.h"
#include "clock.h"
#include "contentview.h"
#include "listingsurvey.h"
#include "localfiles.h"
#include "mainwindow.h"
#include "quillbankapp.h"
#include "scrollingchart.h"
#include "storeworker.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>

namespace {

void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Until the store's work on the worker is done.
void settleWork(const MainWindow &window)
{
    do
        settle(100);
    while (window.contentView()->worker()->isBusy());
}

// The recorder's reading, as the hourly timer would take it.
bool record(const QString &listing, const QString &history)
{
    return QProcess::execute(QCoreApplication::applicationDirPath() + u"/quillbank-cli"_qs,
                             {u"record"_qs, history, u"--probe"_qs, listing, u"--no-notify"_qs}) ==
           0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QuillbankApp::installTranslations();
    if (argc != 4) {
        std::fprintf(stderr, "usage: quillbank-screenshot LISTING_PROGRAM HISTORY.json OUT.png\n");
        return 2;
    }
    const QString listing = QString::fromLocal8Bit(argv[1]);
    const QString history = QString::fromLocal8Bit(argv[2]);
    auto *store =
        new DiskInfo(std::make_unique<SystemClock>(), std::make_unique<ListingSurvey>(listing),
                     std::make_unique<LocalFiles>());
    QuillbankApp quillbank(store);
    MainWindow &window = *quillbank.mainWindow();
    window.resize(1180, 900);
    quillbank.start(history);
    settleWork(window);
    settle(500);

    const qsizetype opened = store->globalConData().size();
    if (!record(listing, history))
        std::fprintf(stderr, "quillbank-cli record failed\n");
    for (int wait = 0; wait < 50 && store->globalConData().size() == opened; ++wait)
        settle(100);
    settle(300);
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
    return window.grab().save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
}
