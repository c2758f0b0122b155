#pragma once

#include "containerinfo.h"

// One container of one reading, flattened with the reading's date. The store
// keeps one per container per reading; the series and the CSV rows come from
// these. Its id is the entry's own, not the reading's record of the container.
struct DataContainerInfo : ContainerInfo {
    double date = 0.0;
    QString dateStr;

    // A new entry (fresh id) copying the container's fields.
    static DataContainerInfo fromContainer(const ContainerInfo &info, double date,
                                           const QString &dateStr);

    friend bool operator==(const DataContainerInfo &a, const DataContainerInfo &b);
};

size_t qHash(const DataContainerInfo &info, size_t seed = 0);

Q_DECLARE_METATYPE(DataContainerInfo)
