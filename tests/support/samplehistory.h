#pragma once

#include "datapoint.h"
#include "ids.h"

#include <QList>

#include <limits>

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
    return {DataPoint{newId(), 0.0, {texts, limits}},
            DataPoint{newId(), -0.0, {}},
            DataPoint{newId(), 754732800.123456789, {limits}},
            DataPoint{newId(), -978307200.5, {texts}},
            DataPoint{newId(), 5e-324, {}},
            DataPoint{newId(), 1e21, {}},
            DataPoint{newId(), std::numeric_limits<double>::max(), {}}};
}
