#include "readingtaker.h"

#include "clock.h"
#include "exitcodes.h"
#include "listingdecoder.h"
#include "listingprobe.h"
#include "recordinglistingsource.h"

namespace {

std::unique_ptr<RecordingListingSource> makeSource(const std::optional<QString> &program)
{
    auto probe = std::make_unique<ListingProbe>(program.value_or(ListingProbe::defaultProgram()));
    return std::make_unique<RecordingListingSource>(std::move(probe));
}

} // namespace

ReadingTaker::ReadingTaker(const std::optional<QString> &program)
    : ReadingTaker(makeSource(program))
{}

ReadingTaker::ReadingTaker(std::unique_ptr<RecordingListingSource> source)
    : m_source(source.get()), m_store(std::make_unique<SystemClock>(), std::move(source))
{}

int ReadingTaker::take(QString *error)
{
    const qsizetype readingsBefore = m_store.globalConData().size();
    m_store.checkContainers();
    if (!m_source->lastListing()) {
        *error = m_source->errorString();
        return ExitToolFailed;
    }
    if (m_store.globalConData().size() == readingsBefore) {
        QString reason;
        decodeListing(*m_source->lastListing(), &reason);
        *error = QStringLiteral("the listing does not decode: %1").arg(reason);
        return ExitUndecodable;
    }
    return ExitOk;
}
