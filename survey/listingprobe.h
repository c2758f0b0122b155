#pragma once

#include "listingsource.h"

#include <QObject>
#include <QString>

class QProcess;

// Runs the listing tool as `PROGRAM apfs list -plist`, reads its standard
// output to the end, then waits for it; its standard error goes to ours.
class ListingProbe : public QObject, public ListingSource
{
    Q_OBJECT
public:
    explicit ListingProbe(const QString &program = defaultProgram(), QObject *parent = nullptr);

    static QString defaultProgram();

    QString program() const { return m_program; }

    // The bytes on a normal exit with status 0; nothing when the program cannot
    // start, crashes or exits with any other status.
    std::optional<QByteArray> runDiskutil() override;
    QString errorString() const override { return m_error; }

private:
    // Sets m_error unless the finished child exited normally with status 0.
    bool exitedCleanly(const QProcess &process);

    QString m_program;
    QString m_error;
};
