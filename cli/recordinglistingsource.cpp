#include "recordinglistingsource.h"

RecordingListingSource::RecordingListingSource(std::unique_ptr<ListingSource> source)
    : m_source(std::move(source))
{}

std::optional<QByteArray> RecordingListingSource::runDiskutil()
{
    m_lastListing = m_source->runDiskutil();
    return m_lastListing;
}
