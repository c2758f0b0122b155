#include "listingsurvey.h"

#include "ids.h"
#include "listingdecoder.h"

namespace {

ContainerInfo containerFromListing(const APFSInfo &info)
{
    // The decoder has checked that the volumes' sizes add up within int64.
    return {newId(),
            info.APFSContainerUUID,
            info.ContainerReference,
            info.CapacityCeiling,
            info.CapacityFree,
            info.volNames(),
            info.firstVolName(),
            info.totalInUse().value_or(0)};
}

} // namespace

ListingSurvey::ListingSurvey(const QString &program, ProbeLimits limits) : m_probe(program, limits)
{}

std::optional<QByteArray> ListingSurvey::runDiskutil(std::stop_token stop)
{
    std::optional<QByteArray> bytes = m_probe.runDiskutil(std::move(stop));
    m_error = m_probe.errorString();
    return bytes;
}

std::optional<QList<ContainerInfo>> ListingSurvey::decode(const QByteArray &listing)
{
    QString reason;
    const std::optional<TopLevel> top = decodeListing(listing, &reason);
    if (!top) {
        m_error = u"the listing does not decode: " + reason;
        return std::nullopt;
    }
    QList<ContainerInfo> containers;
    containers.reserve(top->Containers.size());
    for (const APFSInfo &info : top->Containers)
        containers.append(containerFromListing(info));
    return containers;
}
