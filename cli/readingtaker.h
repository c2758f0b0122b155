#pragma once

#include "DiskInfo.h"

#include <QString>

#include <memory>
#include <optional>

class RecordingListingSource;

// Takes one reading exactly as the Check All tool does, with the listing tool
// or a replacement program, and tells how it went.
class ReadingTaker
{
public:
    explicit ReadingTaker(const std::optional<QString> &program);

    DiskInfo &store() { return m_store; }

    // ExitOk, ExitToolFailed or ExitUndecodable; *error says why on failure.
    int take(QString *error);

private:
    explicit ReadingTaker(std::unique_ptr<RecordingListingSource> source);

    RecordingListingSource *m_source; // owned by m_store
    DiskInfo m_store;
};
