// The desktop window with a container of 100,000 readings (one every ten
// minutes, about 694 days): selecting it until both charts are rebuilt and
// painted, one scroll step of a chart repainted, and process start to the
// main window first painted. Runs on the offscreen platform unless another is
// chosen.
#include "clock.h"
#include "containertable.h"
#include "contentview.h"
#include "histories.h"
#include "mainwindow.h"
#include "scrollingchart.h"
#include "usedspacechart.h"

#include <QApplication>
#include <QChart>
#include <QElapsedTimer>
#include <QLineSeries>
#include <QProcess>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int readings = 100000;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char *what, const std::vector<double> &ms, double limit)
{
    const auto [low, high] = std::minmax_element(ms.begin(), ms.end());
    std::printf("%-44s median %8.2f ms  (min %.2f, max %.2f, n=%zu; target <= %.0f ms)\n", what,
                median(ms), *low, *high, ms.size(), limit);
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Runs what is pending (the coalesced chart rebuild, layout) and paints.
void settleAndPaint(QWidget &widget)
{
    QCoreApplication::processEvents();
    widget.grab();
}

void benchSelection(MainWindow &window)
{
    ContentView *view = window.contentView();
    std::vector<double> ms;
    for (int run = 0; run < 9; ++run) {
        view->listView()->clearSelection(); // deselecting calls nothing
        settleAndPaint(window);
        ms.push_back(timed([&] {
            view->listView()->selectRow(0);
            settleAndPaint(window);
        }));
    }
    const auto *chart = view->findChild<ScrollingChart *>(QStringLiteral("usedSpaceChart"));
    const auto *points = qobject_cast<QXYSeries *>(chart->chart()->series().constFirst());
    if (view->theDiskInfo()->ratesPoints().size() != readings || points->count() == 0)
        std::printf("warning: the selection did not reach the charts\n");
    report("select 100,000 readings, charts painted", ms, 150);
}

void benchScrollStep(MainWindow &window)
{
    auto *chart =
        window.contentView()->findChild<ScrollingChart *>(QStringLiteral("usedSpaceChart"));
    std::vector<double> ms;
    for (int step = 0; step < 41; ++step) {
        ms.push_back(timed([&] {
            chart->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
            settleAndPaint(*chart);
        }));
    }
    report("one scroll step, chart repainted", ms, 33);
}

void benchStartup()
{
    const QString probe = QCoreApplication::applicationDirPath() + u"/quillbank-startup-probe";
    std::vector<double> ms;
    for (int run = 0; run < 9; ++run) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(probe, {});
        if (!process.waitForFinished(20000) || process.exitCode() != 0) {
            std::printf("startup probe failed: %s\n", qPrintable(process.errorString()));
            return;
        }
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("process start to main window painted", ms, 500);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MainWindow window(new DiskInfo(std::make_unique<SystemClock>(), nullptr, nullptr));
    fillHistory(*window.contentView()->theDiskInfo(),
                {{QStringLiteral("5A2E7C1B-3D4F-4E8A-9B6C-1D2E3F4A5B6C"), QStringLiteral("disk3"),
                  QStringLiteral("Data"), 994662584320, 400000000000, 1700000}},
                readings, 600.0);
    window.resize(1180, 900);
    window.show();
    settleAndPaint(window);

    benchSelection(window);
    benchScrollStep(window);
    benchStartup();
    return 0;
}
