#include "containerexport.h"

#include "dates.h"
#include "samecontainer.h"
#include "seriesaccumulator.h"

std::optional<ContainerExport> ContainerExport::fromEntries(const QList<DataContainerInfo> &entries,
                                                            const QString &conUUID)
{
    ContainerExport result;
    result.m_conUUID = conUUID;
    SeriesAccumulator series;
    const ContainerMatcher belongs(conUUID);
    for (const DataContainerInfo &entry : entries) {
        if (!belongs(entry.conUUID))
            continue;
        if (result.m_rows.isEmpty()) {
            result.m_volNames = entry.volNames;
            result.m_capacity = entry.capacity;
        }
        const SeriesAccumulator::Step step = series.add(entry);
        result.m_exact = result.m_exact && step.exact && localTime(entry.date).has_value();
        result.m_rows.append(step.point);
    }
    if (result.m_rows.isEmpty())
        return std::nullopt;
    return result;
}

QString ContainerExport::whyInexact() const
{
    return QStringLiteral("a size, rate or date of container %1 is out of range; nothing written")
        .arg(m_conUUID);
}
