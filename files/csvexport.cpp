#include "csvexport.h"

#include "csvfield.h"
#include "dates.h"
#include "seriesaccumulator.h"

std::optional<CsvExport> CsvExport::fromEntries(const QList<DataContainerInfo> &entries,
                                                const QString &conUUID)
{
    CsvExport result;
    SeriesAccumulator series;
    for (const DataContainerInfo &entry : entries) {
        if (entry.conUUID != conUUID)
            continue;
        if (result.m_rows.isEmpty()) {
            result.m_volNames = entry.volNames;
            result.m_capacity = entry.capacity;
        }
        const SeriesAccumulator::Step step = series.add(entry);
        result.m_exact = result.m_exact && step.exact;
        result.m_rows.append(step.point);
    }
    if (result.m_rows.isEmpty())
        return std::nullopt;
    return result;
}

std::optional<QByteArray> CsvExport::text() const
{
    if (!m_exact)
        return std::nullopt;
    const QChar comma = u',';
    QString text = QStringLiteral("date,size,sizeTotal,rate\n");
    for (const RateStats &row : m_rows) {
        const QString date = formatExportDate(row.date);
        if (date.isEmpty())
            return std::nullopt;
        text += date % comma % QString::number(row.size) % comma % QString::number(row.sizeTotal) %
                comma % QString::number(row.rate) % u'\n';
    }
    text += u"\n\n" % csvField(m_volNames) % u"\nCapacity: " % QString::number(m_capacity);
    return text.toUtf8();
}
