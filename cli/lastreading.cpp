#include "lastreading.h"

#include "samecontainer.h"

QList<ContainerTrend> lastReadingTrends(DiskInfo &store, const std::optional<QString> &conUUID)
{
    QList<ContainerTrend> trends;
    if (store.globalConData().isEmpty())
        return trends;
    const ContainerMatcher wanted(conUUID.value_or(QString()));
    for (const ContainerInfo &container : store.globalConData().last().containers) {
        if (conUUID && !wanted(container.conUUID))
            continue;
        store.selectContainer(container.conUUID);
        trends.append({container, store.recentTrend()});
    }
    return trends;
}
