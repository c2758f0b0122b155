#pragma once

#include "containerinfo.h"

#include <QList>

// One whole reading: its instant and every container seen then.
struct DataPoint {
    QUuid id;
    double date = 0.0; // seconds since 2001-01-01 00:00:00 UTC
    QList<ContainerInfo> containers;

    friend bool operator==(const DataPoint &a, const DataPoint &b);
};

size_t qHash(const DataPoint &point, size_t seed = 0);

Q_DECLARE_METATYPE(DataPoint)
