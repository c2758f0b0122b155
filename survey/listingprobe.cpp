#include "listingprobe.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

// Reads until the child closes its standard output; QProcess drains what is
// left in the pipe when the child exits, so the final readAll() gets the tail.
QByteArray readToEnd(QProcess &process)
{
    QByteArray output;
    while (process.waitForReadyRead(-1))
        output += process.readAllStandardOutput();
    output += process.readAllStandardOutput();
    return output;
}

// QProcess words it as "execvp: No such file or directory"; people need only
// the reason after the system call's name.
QString startFailure(const QProcess &process)
{
    return process.errorString().section(u": "_s, -1);
}

} // namespace

ListingProbe::ListingProbe(const QString &program) : m_program(program) {}

QString ListingProbe::defaultProgram()
{
    const QString diskutil = u"/usr/sbin/diskutil"_s;
    if (QFileInfo(diskutil).isExecutable())
        return diskutil;
    // Elsewhere our own listing program stands in for it: beside the running
    // executable in a build tree, else where the install put it.
    const QStringList candidates{
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString(),
        QStringLiteral(QUILLBANK_LIBEXEC_DIR)};
    for (const QString &dir : candidates) {
        const QFileInfo listing(dir + u"/quillbank-listing"_s);
        if (!dir.isEmpty() && listing.isExecutable())
            return listing.filePath();
    }
    return diskutil; // so that the failure names the system's tool
}

std::optional<QByteArray> ListingProbe::runDiskutil()
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(m_program, {u"apfs"_s, u"list"_s, u"-plist"_s}, QIODevice::ReadOnly);
    if (!process.waitForStarted(-1)) {
        m_error = u"cannot start %1: %2"_s.arg(m_program, startFailure(process));
        return std::nullopt;
    }
    QByteArray output = readToEnd(process);
    if (process.state() != QProcess::NotRunning)
        process.waitForFinished(-1);
    if (!exitedCleanly(process))
        return std::nullopt;
    m_error.clear();
    return output;
}

bool ListingProbe::exitedCleanly(const QProcess &process)
{
    if (process.exitStatus() == QProcess::CrashExit)
        m_error = m_program + u" was killed by a signal"_s;
    else if (process.exitCode() != 0)
        m_error = u"%1 exited with status %2"_s.arg(m_program).arg(process.exitCode());
    else
        return true;
    return false;
}
