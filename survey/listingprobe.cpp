#include "listingprobe.h"

#include <QProcess>

ListingProbe::ListingProbe(const QString &program, QObject *parent)
    : QObject(parent), m_program(program)
{}

QString ListingProbe::defaultProgram()
{
    return QStringLiteral("/usr/sbin/diskutil");
}

std::optional<QByteArray> ListingProbe::runDiskutil()
{
    return std::nullopt;
}
