#pragma once

#include "DiskInfo.h"
#include "filechooser.h"
#include "listingprobe.h"

#include <QString>

#include <optional>

// The store as the command-line tool drives it: the real listing tool (or a
// given program) and the real files, with each file dialog answered at once
// by the path given on the command line. Each operation returns ExitOk or the
// exit status of its failure, whose reason is then in failure().
class CliStore : private FileChooser
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
    void choose(Mode mode, ContentType type, Completion completion) override;
    int run(const QString &path, void (DiskInfo::*operation)());

    DiskInfo m_store;
    QString m_path;
    int m_status = 0;
    QString m_reason;
};
