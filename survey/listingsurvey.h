#pragma once

#include "listingprobe.h"
#include "listingsource.h"

// Check All's readings from the real listing tool: the probe runs it, the
// decoder reads its property list, and each listed container becomes one
// ContainerInfo of the reading.
class ListingSurvey : public ListingSource
{
public:
    explicit ListingSurvey(const QString &program = ListingProbe::defaultProgram(),
                           ProbeLimits limits = {});

    std::optional<QByteArray> runDiskutil(std::stop_token stop = {}) override;
    std::optional<QList<ContainerInfo>> decode(const QByteArray &listing) override;
    QString errorString() const override { return m_error; }

private:
    ListingProbe m_probe;
    QString m_error;
};
