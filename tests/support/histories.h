#pragma once

// Made-up histories: samples for the files and the command-line tool, and
// growing containers that fill a store for the window's tests and benchmarks.
#include "DiskInfo.h"
#include "dates.h"
#include "ids.h"

#include <QList>

#include <limits>

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

inline ContainerInfo sampleContainer(const QString &name, qint64 capacity, qint64 free,
                                     qint64 totalUsed)
{
    return {newId(), u"UUID-"_qs + name, u"disk-"_qs + name, capacity, free, name + u", Data"_qs,
            name,    totalUsed};
}

// Readings an hour apart, each of the same containers "c0", "c1", ...
inline QList<DataPoint> sampleHistory(int readings, int containers)
{
    QList<DataPoint> history;
    for (int r = 0; r < readings; ++r) {
        DataPoint point{newId(), 700000000.0 + 3600.0 * r, {}};
        for (int c = 0; c < containers; ++c)
            point.containers.append(
                sampleContainer(u"c"_qs + QString::number(c), 1000, 400 - r, 500 + r * 10 + c));
        history.append(point);
    }
    return history;
}

// Every kind of text and number the file has to carry unchanged.
inline QList<DataPoint> awkwardHistory()
{
    constexpr qint64 int64Min = std::numeric_limits<qint64>::min();
    constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
    ContainerInfo texts = sampleContainer(u"plain"_qs, 1, 2, 3);
    texts.conRef = QStringLiteral("quote\" backslash\\ slash/");
    texts.volNames = QString::fromUtf16(u"ctl\x01\x1f\t\n\r\b\f del\x7f é 日本 😀");
    texts.firstVolName = QString();
    const ContainerInfo limits = sampleContainer(u"limits"_qs, int64Max, int64Min, -1);
    // Far longer than the writer's guess at the file's size, three bytes a unit.
    ContainerInfo wide = sampleContainer(u"wide"_qs, 1, 2, 3);
    wide.volNames = QString(30000, QChar(0x65e5));
    return {DataPoint{newId(), 0.0, {texts, limits}},
            DataPoint{newId(), -0.0, {}},
            DataPoint{newId(), 754732800.123456789, {limits}},
            DataPoint{newId(), -978307200.5, {texts}},
            DataPoint{newId(), 5e-324, {wide}},
            DataPoint{newId(), 1e21, {}},
            DataPoint{newId(), std::numeric_limits<double>::max(), {}}};
}
