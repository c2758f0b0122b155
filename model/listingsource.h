#pragma once

#include "containerinfo.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <stop_token>

// Where Check All's readings come from: the listing tool, and the reading of
// its listing into containers. Behind an interface so that the store knows
// neither the tool nor the listing's format, and tests can stand in for both.
class ListingSource
{
public:
    virtual ~ListingSource() = default;
    // The tool's complete standard output when it succeeds; nothing when it
    // fails, or soon after `stop` is requested from another thread: the tool
    // is then ended with everything it started.
    virtual std::optional<QByteArray> runDiskutil(std::stop_token stop = {}) = 0;
    // The containers the listing names, in its order, each with a fresh id;
    // nothing when the listing does not decode (all or nothing).
    virtual std::optional<QList<ContainerInfo>> decode(const QByteArray &listing) = 0;
    // Why the last call failed, in one line for people.
    virtual QString errorString() const = 0;
};
