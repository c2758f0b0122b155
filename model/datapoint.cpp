#include "datapoint.h"

#include <QHash>

bool operator==(const DataPoint &a, const DataPoint &b)
{
    return a.id == b.id && a.date == b.date && a.containers == b.containers;
}

size_t qHash(const DataPoint &point, size_t seed)
{
    QtPrivate::QHashCombine combine;
    seed = combine(seed, qHash(point.id));
    seed = combine(seed, qHash(point.date));
    return combine(seed, qHashRange(point.containers.cbegin(), point.containers.cend()));
}
