#include "DiskInfo.h"
#include "clock.h"
#include "listingsurvey.h"
#include "localfiles.h"
#include "quillbankapp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbank"));
    QuillbankApp quillbank(new DiskInfo(std::make_unique<SystemClock>(),
                                        std::make_unique<ListingSurvey>(),
                                        std::make_unique<LocalFiles>()));
    quillbank.start();
    return QApplication::exec();
}
