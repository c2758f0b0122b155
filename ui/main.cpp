#include "quillbankapp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillbank"));
    QuillbankApp quillbank;
    quillbank.start();
    return QApplication::exec();
}
