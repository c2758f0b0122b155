#include "historyloader.h"

#include "DiskInfo.h"
#include "historyfile.h"

bool loadHistory(const QString &path, DiskInfo &store, QTextStream &err)
{
    QString error;
    const std::optional<QList<DataPoint>> history = readHistoryFile(path, &error);
    if (!history) {
        err << "quillbank-cli: " << path << ": not a valid history: " << error << '\n';
        return false;
    }
    store.replaceHistory(*history);
    return true;
}
