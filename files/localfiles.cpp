#include "localfiles.h"

#include "atomicfile.h"
#include "csvtext.h"
#include "historyfile.h"

std::optional<QList<DataPoint>> LocalFiles::readHistory(const QString &path, QString *error)
{
    return readHistoryFile(path, error);
}

bool LocalFiles::writeHistory(const QString &path, const QList<DataPoint> &history,
                              QString *error)
{
    return writeHistoryFile(path, history, error);
}

bool LocalFiles::writeCsv(const QString &path, const ContainerExport &rows, QString *error)
{
    const std::optional<QByteArray> text = csvText(rows);
    if (!text) {
        if (error)
            *error = rows.whyInexact();
        return false;
    }
    return writeFileAtomically(path, *text, error);
}
