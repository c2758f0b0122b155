// Starts the app as its main() does and exits as soon as the main window has
// been painted for the first time: bench_ui times this process from spawn to
// exit. For measurement only; the app itself takes no options.
#include "DiskInfo.h"
#include "clock.h"
#include "listingsurvey.h"
#include "localfiles.h"
#include "mainwindow.h"
#include "quillbankapp.h"

#include <QApplication>
#include <QTimer>

namespace {

class FirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QuillbankApp quillbank(new DiskInfo(std::make_unique<SystemClock>(),
                                        std::make_unique<ListingSurvey>(),
                                        std::make_unique<LocalFiles>()));
    FirstPaint firstPaint;
    quillbank.mainWindow()->installEventFilter(&firstPaint);
    quillbank.start();
    QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(1); });
    return QApplication::exec();
}
