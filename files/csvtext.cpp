#include "csvtext.h"

#include "csvfield.h"
#include "dates.h"

std::optional<QByteArray> csvText(const ContainerExport &rows)
{
    if (!rows.isExact())
        return std::nullopt;
    const QChar comma = u',';
    QString text = QStringLiteral("date,size,sizeTotal,rate\n");
    for (const RateStats &row : rows.rows()) {
        const QString date = formatExportDate(row.date);
        if (date.isEmpty())
            return std::nullopt;
        text += date % comma % QString::number(row.size) % comma % QString::number(row.sizeTotal) %
                comma % QString::number(row.rate) % u'\n';
    }
    text +=
        u"\n\n" % csvField(rows.volNames()) % u"\nCapacity: " % QString::number(rows.capacity());
    return text.toUtf8();
}
