#pragma once

#include "datacontainerinfo.h"
#include "ratestats.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One container's readings as the CSV export writes them: a row per reading
// (date, size, sizeTotal and the rate of size since the previous reading),
// then the volume names (one CSV field) and capacity of its first reading. Worked out when
// the user gives the command; the text is made once they have chosen a file.
class CsvExport
{
public:
    // Nothing when no entry has exactly this conUUID.
    static std::optional<CsvExport> fromEntries(const QList<DataContainerInfo> &entries,
                                                const QString &conUUID);

    const QList<RateStats> &rows() const { return m_rows; }
    // False when a size, a difference or a rate did not fit a signed 64-bit
    // integer: such a row would hold a wrong number, so no text is made.
    bool isExact() const { return m_exact; }

    // The file's UTF-8 bytes with the dates in local time; nothing when the
    // export is not exact or a date cannot be placed in the calendar.
    std::optional<QByteArray> text() const;

private:
    QList<RateStats> m_rows;
    QString m_volNames;
    qint64 m_capacity = 0;
    bool m_exact = true;
};
