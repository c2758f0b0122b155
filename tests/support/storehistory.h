#pragma once

// Fills a store with a made-up history without a listing tool or a file, for
// the window's tests and benchmarks.
#include "DiskInfo.h"
#include "dates.h"
#include "ids.h"

#include <QList>

// A container whose used space grows by `growth` bytes per reading.
struct HistoryContainer {
    QString conUUID;
    QString conRef;
    QString firstVolName;
    qint64 capacity = 0;
    qint64 firstUsed = 0;
    qint64 growth = 0;
};

inline ContainerInfo readingOf(const HistoryContainer &c, int reading)
{
    const qint64 used = c.firstUsed + c.growth * reading;
    return {newId(),           c.conUUID,      c.conRef,       c.capacity,
            c.capacity - used, c.firstVolName, c.firstVolName, used};
}

// `readings` readings, `step` seconds apart, from `start` (seconds since 2001);
// the last reading's containers become the store's list.
inline void fillHistory(DiskInfo &store, const QList<HistoryContainer> &containers, int readings,
                        double step, double start = 800000000.0)
{
    QList<DataPoint> history;
    QList<DataContainerInfo> flat;
    history.reserve(readings);
    flat.reserve(qsizetype(readings) * containers.size());
    for (int r = 0; r < readings; ++r) {
        DataPoint point{newId(), start + r * step, {}};
        for (const HistoryContainer &c : containers) {
            point.containers.append(readingOf(c, r));
            flat.append(DataContainerInfo::fromContainer(point.containers.constLast(), point.date,
                                                         QString()));
        }
        history.append(point);
    }
    store.setGlobalConData(history);
    store.setContainerData(flat);
    store.setContainerList(history.isEmpty() ? QList<ContainerInfo>{}
                                             : history.constLast().containers);
}
