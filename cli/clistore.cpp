#include "clistore.h"

#include "clock.h"
#include "exitcodes.h"
#include "listingsurvey.h"
#include "localfiles.h"

#include <QUrl>

namespace {

int exitCodeOf(DiskInfo::Failure failure)
{
    switch (failure) {
    case DiskInfo::Failure::ToolFailed:
        return ExitToolFailed;
    case DiskInfo::Failure::Undecodable:
        return ExitUndecodable;
    case DiskInfo::Failure::CannotRead:
    case DiskInfo::Failure::OutOfRange:
        return ExitBadHistory;
    case DiskInfo::Failure::CannotWrite:
        return ExitCannotWrite;
    }
    return ExitCannotWrite;
}

} // namespace

CliStore::CliStore(const std::optional<QString> &program, ProbeLimits limits)
    : m_store(
          std::make_unique<SystemClock>(),
          std::make_unique<ListingSurvey>(program.value_or(ListingProbe::defaultProgram()), limits),
          // record holds the history's lock for its whole read-append-write.
          std::make_unique<LocalFiles>(false))
{
    m_store.setFileChooser(this);
    QObject::connect(&m_store, &DiskInfo::failed, &m_store,
                     [this](DiskInfo::Failure failure, const QString &reason) {
                         m_status = exitCodeOf(failure);
                         m_reason = reason;
                     });
}

void CliStore::choose(Mode, ContentType, Completion completion)
{
    // No event loop runs here: the answer comes at once.
    completion(Response::Ok, QUrl::fromLocalFile(m_path));
}

int CliStore::run(const QString &path, void (DiskInfo::*operation)())
{
    m_path = path;
    m_status = ExitOk;
    (m_store.*operation)();
    return m_status;
}

int CliStore::checkContainers()
{
    return run({}, &DiskInfo::checkContainers);
}

int CliStore::readHistory(const QString &path)
{
    return run(path, &DiskInfo::readData);
}

int CliStore::saveHistory(const QString &path)
{
    return run(path, &DiskInfo::saveJSON);
}

int CliStore::saveCsv(const QString &conUUID, const QString &path)
{
    m_path = path;
    m_status = ExitOk;
    m_store.saveCSV(conUUID);
    return m_status;
}
