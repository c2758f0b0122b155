#include "listingprobe.h"

#include "toolprocess.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <sys/wait.h>

using namespace Qt::StringLiterals;
using namespace std::chrono;

namespace {

// How long a wait lasts at most before the probe looks for a stop again.
constexpr milliseconds waitSlice{50};

} // namespace

bool ListingProbe::Run::goesOn() const
{
    return !stop.stop_requested() && steady_clock::now() < deadline;
}

milliseconds ListingProbe::Run::slice() const
{
    return qBound(0ms, duration_cast<milliseconds>(deadline - steady_clock::now()), waitSlice);
}

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

std::optional<QByteArray> ListingProbe::runDiskutil(std::stop_token stop)
{
    const Run run{steady_clock::now() + m_limits.timeout, std::move(stop)};
    ToolProcess tool;
    QString reason;
    if (!tool.start(m_program, {u"apfs"_s, u"list"_s, u"-plist"_s}, &reason)) {
        m_error = u"cannot start %1: %2"_s.arg(m_program, reason);
        return std::nullopt;
    }
    QByteArray output;
    const ToolProcess::Read read = readOutput(tool, output, run);
    const bool exited = read == ToolProcess::Read::EndOfFile && awaitExit(tool, run);
    m_error =
        whyFailed(read, output.size(), exited ? tool.waitStatus() : -1, run.stop.stop_requested());
    if (!m_error.isEmpty())
        return std::nullopt; // the tool's destructor stops what is left of it
    return output;
}

// To end of file, past the output limit, to the deadline or to a stop,
// whichever is first.
ToolProcess::Read ListingProbe::readOutput(ToolProcess &tool, QByteArray &output, const Run &run)
{
    ToolProcess::Read read = ToolProcess::Read::More;
    while (read == ToolProcess::Read::More && output.size() <= m_limits.maxOutput && run.goesOn())
        read = tool.readSome(output, run.slice());
    return read;
}

bool ListingProbe::awaitExit(ToolProcess &tool, const Run &run)
{
    while (!tool.waitForExit(run.slice())) {
        if (!run.goesOn())
            return false;
    }
    return true;
}

// Empty when the tool printed within the limits, reached end of file, and
// exited normally with status 0; exitStatus is -1 when it has not exited.
QString ListingProbe::whyFailed(ToolProcess::Read read, qint64 size, int exitStatus,
                                bool stopped) const
{
    if (stopped)
        return m_program + u" was stopped"_s;
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
