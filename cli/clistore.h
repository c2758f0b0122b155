#pragma once

#include "DiskInfo.h"
#include "listingprobe.h"

#include <QString>

#include <optional>

// The store as the command-line tool drives it: the real listing tool (or a
// given program) and the real files, at the paths given on the command line.
// Each operation returns ExitOk or the exit status of its failure, whose
// reason is then in failure().
class CliStore
{
public:
    explicit CliStore(const std::optional<QString> &program = std::nullopt,
                      ProbeLimits limits = {});

    DiskInfo &store() { return m_store; }

    int checkContainers();
    int readHistory(const QString &path);
    int saveHistory(const QString &path);
    int saveCsv(const QString &conUUID, const QString &path);

    QString failure() const { return m_reason; }

private:
    template <typename Operation>
    int run(Operation operation);

    DiskInfo m_store;
    int m_status = 0;
    QString m_reason;
};
