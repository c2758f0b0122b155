#include "lastreading.h"

#include "samecontainer.h"

#include <QSet>

QList<ContainerTrend> lastReadingTrends(DiskInfo &store, const std::optional<QString> &conUUID)
{
    QList<ContainerTrend> trends;
    if (store.globalConData().isEmpty())
        return trends;
    const ContainerMatcher wanted(conUUID.value_or(QString()));
    QSet<QString> seen;
    for (const ContainerInfo &container : store.globalConData().last().containers) {
        const QString key = containerKey(container.conUUID);
        if ((conUUID && !wanted(container.conUUID)) || seen.contains(key))
            continue;
        seen.insert(key);
        store.selectContainer(container.conUUID);
        trends.append({container, store.recentTrend()});
    }
    return trends;
}
