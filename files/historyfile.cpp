#include "historyfile.h"

#include "atomicfile.h"
#include "historydecoder.h"
#include "historyencoder.h"

#include <QFile>

#include <algorithm>

namespace {

// Room for one more read at the end of a file whose size was known, and the
// step for files that do not tell their size (pipes, devices).
constexpr qsizetype readStep = 64 * 1024;

// The whole file, with spare capacity after it so that the decoder reads it
// in place rather than copying a history of a hundred megabytes.
std::optional<QByteArray> readPadded(QFile &file)
{
    QByteArray bytes;
    qsizetype used = 0;
    qsizetype room = file.size() + readStep;
    for (;;) {
        bytes.resize(used + room + jsonPadding);
        const qint64 count = file.read(bytes.data() + used, room);
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break;
        used += count;
        room = count == room ? std::max(used, readStep) : room - count;
    }
    bytes.resize(used);
    return bytes;
}

bool failed(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

std::optional<QList<DataPoint>> readHistoryFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failed(error, file.errorString());
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = readPadded(file);
    if (!bytes) {
        failed(error, file.errorString());
        return std::nullopt;
    }
    return decodeHistory(*bytes, error);
}

bool writeHistoryFile(const QString &path, const QList<DataPoint> &history, QString *error)
{
    const std::optional<QByteArray> json = encodeHistory(history, error);
    return json && writeFileAtomically(path, *json, error);
}
