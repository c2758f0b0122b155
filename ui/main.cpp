#include "DiskInfo.h"
#include "clock.h"
#include "listingsurvey.h"
#include "localfiles.h"
#include "quillbankapp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbank"));
    QuillbankApp::installTranslations();
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QApplication::translate("main", "Records how full the disks get and when they fill."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QApplication::translate("main", "A history to open (.json)."),
                                 QStringLiteral("[file]"));
    parser.process(app);
    QuillbankApp quillbank(new DiskInfo(std::make_unique<SystemClock>(),
                                        std::make_unique<ListingSurvey>(),
                                        std::make_unique<LocalFiles>()));
    // Named here rather than through an organization name, which would move
    // the default history away from where the recorder writes it.
    quillbank.rememberIn(std::make_unique<QSettings>(u"Quillbank"_s, u"Quillbank"_s));
    quillbank.start(parser.positionalArguments().value(0));
    return QApplication::exec();
}
