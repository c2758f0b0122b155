#pragma once

#include <QMetaType>
#include <QUuid>

// One point of a container's growth series. Points have identity only: the
// store announces every write of a series, equal or not.
struct RateStats {
    QUuid id;
    double date = 0.0;
    qint64 rate = 0;      // growth of size since the previous point, bytes per second
    qint64 size = 0;      // capacity minus free, bytes
    qint64 rateTotal = 0; // growth of sizeTotal since the previous point, bytes per second
    qint64 sizeTotal = 0; // the volumes' summed in-use space, bytes
};

Q_DECLARE_METATYPE(RateStats)
