#pragma once

#include "DiskInfo.h"

#include <QList>

// One container of a history's last reading, with the recent trend of all
// its readings: what `check` and `metrics` report on.
struct ContainerTrend {
    ContainerInfo container;
    RecentTrend trend;
};

// Each container of the store's last reading, in the reading's order, or
// only those matching conUUID when it is given; empty without readings. A
// container the reading lists twice counts once, as first listed.
QList<ContainerTrend> lastReadingTrends(DiskInfo &store, const std::optional<QString> &conUUID);
