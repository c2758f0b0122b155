#include "listingprobe.h"

#include "toolprocess.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <sys/wait.h>

using namespace Qt::StringLiterals;
using namespace std::chrono;

namespace {

// How often a waiting probe calls back, so that a window stays painted.
constexpr milliseconds waitSlice{50};

milliseconds slice(steady_clock::time_point deadline)
{
    return qBound(0ms, duration_cast<milliseconds>(deadline - steady_clock::now()), waitSlice);
}

} // namespace

ListingProbe::ListingProbe(const QString &program, ProbeLimits limits)
    : m_program(program), m_limits(limits)
{}

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
    const auto deadline = steady_clock::now() + m_limits.timeout;
    ToolProcess tool;
    QString reason;
    if (!tool.start(m_program, {u"apfs"_s, u"list"_s, u"-plist"_s}, &reason)) {
        m_error = u"cannot start %1: %2"_s.arg(m_program, reason);
        return std::nullopt;
    }
    QByteArray output;
    const ToolProcess::Read read = readOutput(tool, output, deadline);
    const bool exited = read == ToolProcess::Read::EndOfFile && awaitExit(tool, deadline);
    m_error = whyFailed(read, output.size(), exited ? tool.waitStatus() : -1);
    if (!m_error.isEmpty())
        return std::nullopt; // the tool's destructor stops what is left of it
    return output;
}

// To end of file, past the output limit or to the deadline, whichever is first.
ToolProcess::Read ListingProbe::readOutput(ToolProcess &tool, QByteArray &output,
                                           steady_clock::time_point deadline)
{
    ToolProcess::Read read = ToolProcess::Read::More;
    while (read == ToolProcess::Read::More && output.size() <= m_limits.maxOutput &&
           steady_clock::now() < deadline) {
        read = tool.readSome(output, slice(deadline));
        waiting();
    }
    return read;
}

bool ListingProbe::awaitExit(ToolProcess &tool, steady_clock::time_point deadline)
{
    while (!tool.waitForExit(slice(deadline))) {
        if (steady_clock::now() >= deadline)
            return false;
        waiting();
    }
    return true;
}

void ListingProbe::waiting() const
{
    if (m_whileWaiting)
        m_whileWaiting();
}

// Empty when the tool printed within the limits, reached end of file, and
// exited normally with status 0; exitStatus is -1 when it has not exited.
QString ListingProbe::whyFailed(ToolProcess::Read read, qint64 size, int exitStatus) const
{
    if (read == ToolProcess::Read::Failed)
        return u"cannot read the output of %1"_s.arg(m_program);
    if (size > m_limits.maxOutput)
        return u"%1 printed more than %2 MiB and was stopped"_s.arg(m_program).arg(
            double(m_limits.maxOutput) / (1 << 20));
    if (exitStatus < 0)
        return u"%1 did not finish within %2 s and was stopped"_s.arg(m_program).arg(
            duration<double>(m_limits.timeout).count());
    if (WIFSIGNALED(exitStatus))
        return m_program + u" was killed by a signal"_s;
    if (WEXITSTATUS(exitStatus) != 0)
        return u"%1 exited with status %2"_s.arg(m_program).arg(WEXITSTATUS(exitStatus));
    return {};
}
