#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Where a reading's listing comes from: the complete standard output of the
// listing tool when it succeeds, nothing when it fails. Behind an interface so
// tests and the command-line tool can put another source in its place.
class ListingSource
{
public:
    virtual ~ListingSource() = default;
    virtual std::optional<QByteArray> runDiskutil() = 0;
    // Why the last run returned nothing, in one line for people.
    virtual QString errorString() const = 0;
};
