#include "cli.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The window's name, so that both keep the default history in one folder.
    QCoreApplication::setApplicationName(QStringLiteral("Quillbank"));
    return runCliOnStandardStreams(app.arguments());
}
