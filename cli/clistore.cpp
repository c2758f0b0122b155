#include "clistore.h"

#include "clock.h"
#include "exitcodes.h"
#include "listingsurvey.h"
#include "localfiles.h"

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
    case DiskInfo::Failure::Locked:
        return ExitLocked;
    }
    return ExitCannotWrite;
}

} // namespace

CliStore::CliStore(const std::optional<QString> &program, ProbeLimits limits)
    : m_store(
          std::make_unique<SystemClock>(),
          std::make_unique<ListingSurvey>(program.value_or(ListingProbe::defaultProgram()), limits),
          std::make_unique<LocalFiles>())
{
    QObject::connect(&m_store, &DiskInfo::failed, &m_store,
                     [this](DiskInfo::Failure failure, const QString &reason) {
                         m_status = exitCodeOf(failure);
                         m_reason = reason;
                     });
}

template <typename Operation>
int CliStore::run(Operation operation)
{
    m_status = ExitOk;
    operation();
    return m_status;
}

int CliStore::checkContainers()
{
    return run([this] { m_store.checkContainers(); });
}

int CliStore::readHistory(const QString &path)
{
    return run([&] { m_store.readJSONFrom(path); });
}

int CliStore::saveHistory(const QString &path)
{
    return run([&] { m_store.saveJSONTo(path); });
}

int CliStore::saveCsv(const QString &conUUID, const QString &path)
{
    return run([&] { m_store.saveCSVTo(conUUID, path); });
}
