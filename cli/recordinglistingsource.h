#pragma once

#include "listingsource.h"

#include <memory>

// Passes a listing source through and remembers its last result, so the
// command-line tool can tell a failed tool from an undecodable listing after
// the store has taken its reading.
class RecordingListingSource : public ListingSource
{
public:
    explicit RecordingListingSource(std::unique_ptr<ListingSource> source);

    std::optional<QByteArray> runDiskutil() override;
    QString errorString() const override { return m_source->errorString(); }

    const std::optional<QByteArray> &lastListing() const { return m_lastListing; }

private:
    std::unique_ptr<ListingSource> m_source;
    std::optional<QByteArray> m_lastListing;
};
