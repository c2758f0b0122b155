#pragma once

#include "toolprocess.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>
#include <stop_token>

// How long the listing tool may run and how much it may print before the
// probe gives up on it: a hung or flooding tool must not hang its callers.
struct ProbeLimits {
    std::chrono::milliseconds timeout{60000};
    qint64 maxOutput = qint64(64) << 20; // 64 MiB
};

// Runs the listing tool as `PROGRAM apfs list -plist` in a process group of
// its own, reads its standard output to end of file (a background child that
// keeps it open keeps the tool running), then waits for it; its standard
// error goes to ours. Past the limits, or when asked to stop, the whole group
// is killed.
class ListingProbe
{
public:
    explicit ListingProbe(const QString &program = defaultProgram(), ProbeLimits limits = {});

    // The system's disk utility where it exists, else our own listing program.
    static QString defaultProgram();

    // The bytes on a normal exit with status 0 within the limits; nothing when
    // the program cannot start, crashes, exits with any other status, runs
    // past the time limit, prints more than the output limit, or is stopped:
    // a stop requested from another thread ends the run within a few tens of
    // milliseconds.
    std::optional<QByteArray> runDiskutil(std::stop_token stop = {});
    // Why the last run returned nothing, in one line naming the program.
    QString errorString() const { return m_error; }

private:
    // One run's deadline and stop. The probe waits in slices, so that it
    // sees either soon.
    struct Run {
        std::chrono::steady_clock::time_point deadline;
        std::stop_token stop;
        bool goesOn() const;
        std::chrono::milliseconds slice() const;
    };
    ToolProcess::Read readOutput(ToolProcess &tool, QByteArray &output, const Run &run);
    bool awaitExit(ToolProcess &tool, const Run &run);
    QString whyFailed(ToolProcess::Read read, qint64 size, int exitStatus, bool stopped) const;

    QString m_program;
    ProbeLimits m_limits;
    QString m_error;
};
