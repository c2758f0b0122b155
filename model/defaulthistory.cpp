#include "defaulthistory.h"

#include <QStandardPaths>

QString defaultHistoryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/history.json");
}
