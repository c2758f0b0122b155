#pragma once

#include "datacontainerinfo.h"
#include "ratestats.h"

#include <QList>
#include <QString>

#include <optional>

// One container's readings as the CSV export writes them: a row per reading
// (date, size, sizeTotal and the rate of size since the previous reading),
// then the volume names and capacity of its first reading. Worked out when
// the user gives the command; the text is made once they have chosen a file.
class ContainerExport
{
public:
    // Nothing when no entry belongs to the container.
    static std::optional<ContainerExport> fromEntries(const QList<DataContainerInfo> &entries,
                                                      const QString &conUUID);

    const QList<RateStats> &rows() const { return m_rows; }
    const QString &volNames() const { return m_volNames; }
    qint64 capacity() const { return m_capacity; }
    // False when a size, a difference or a rate did not fit a signed 64-bit
    // integer, or a date lies beyond the calendar: such a row would hold a
    // wrong number, so no text is made.
    bool isExact() const { return m_exact; }
    // Why no text is made, in one line naming the container.
    QString whyInexact() const;

private:
    QString m_conUUID;
    QList<RateStats> m_rows;
    QString m_volNames;
    qint64 m_capacity = 0;
    bool m_exact = true;
};
