#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QProcess;

// Runs the listing tool as `PROGRAM apfs list -plist`, reads its standard
// output to the end, then waits for it; its standard error goes to ours.
class ListingProbe
{
public:
    explicit ListingProbe(const QString &program = defaultProgram());

    // The system's disk utility where it exists, else our own listing program.
    static QString defaultProgram();

    // The bytes on a normal exit with status 0; nothing when the program cannot
    // start, crashes or exits with any other status.
    std::optional<QByteArray> runDiskutil();
    // Why the last run returned nothing, in one line naming the program.
    QString errorString() const { return m_error; }

private:
    // Sets m_error unless the finished child exited normally with status 0.
    bool exitedCleanly(const QProcess &process);

    QString m_program;
    QString m_error;
};
