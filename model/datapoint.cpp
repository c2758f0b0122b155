#include "datapoint.h"

#include "recordhash.h"

bool operator==(const DataPoint &a, const DataPoint &b)
{
    return a.id == b.id && a.date == b.date && a.containers == b.containers;
}

size_t qHash(const DataPoint &point, size_t seed)
{
    return hashFields(seed, point.id, point.date,
                      qHashRange(point.containers.cbegin(), point.containers.cend()));
}
