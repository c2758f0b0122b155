#pragma once

#include "toolprocess.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

// How long the listing tool may run and how much it may print before the
// probe gives up on it: a hung or flooding tool must not hang its callers.
struct ProbeLimits {
    std::chrono::milliseconds timeout{60000};
    qint64 maxOutput = qint64(64) << 20; // 64 MiB
};

// Runs the listing tool as `PROGRAM apfs list -plist` in a process group of
// its own, reads its standard output to end of file (a background child that
// keeps it open keeps the tool running), then waits for it; its standard
// error goes to ours. Past the limits the whole group is killed.
class ListingProbe
{
public:
    explicit ListingProbe(const QString &program = defaultProgram(), ProbeLimits limits = {});

    // The system's disk utility where it exists, else our own listing program.
    static QString defaultProgram();

    // Called about every 50 ms while the probe waits for the tool, so that a
    // window can keep itself painted (say, by processing its events).
    void setWhileWaiting(std::function<void()> callback) { m_whileWaiting = std::move(callback); }

    // The bytes on a normal exit with status 0 within the limits; nothing when
    // the program cannot start, crashes, exits with any other status, runs
    // past the time limit or prints more than the output limit.
    std::optional<QByteArray> runDiskutil();
    // Why the last run returned nothing, in one line naming the program.
    QString errorString() const { return m_error; }

private:
    ToolProcess::Read readOutput(ToolProcess &tool, QByteArray &output,
                                 std::chrono::steady_clock::time_point deadline);
    bool awaitExit(ToolProcess &tool, std::chrono::steady_clock::time_point deadline);
    void waiting() const;
    QString whyFailed(ToolProcess::Read read, qint64 size, int exitStatus) const;

    QString m_program;
    ProbeLimits m_limits;
    std::function<void()> m_whileWaiting;
    QString m_error;
};
