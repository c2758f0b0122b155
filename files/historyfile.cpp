#include "historyfile.h"

#include "atomicfile.h"
#include "historydecoder.h"
#include "historyencoder.h"
#include "jsonbuffer.h"

#include <QFile>

namespace {

// Room for the file to have grown since its size was asked.
constexpr qsizetype slack = 64 * 1024;

std::optional<QList<DataPoint>> failed(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

// A regular file is read straight into a buffer with room for the decoder's
// padding, so a history of a hundred megabytes is never copied.
std::optional<QList<DataPoint>> readInPlace(QFile &file, QString *error)
{
    const JsonBuffer buffer(file.size() + slack);
    if (!buffer.isValid())
        return failed(error, QStringLiteral("not enough memory to read the file"));
    qsizetype used = 0;
    for (qint64 count = 1; count > 0 && used < buffer.capacity(); used += count) {
        count = file.read(buffer.data() + used, buffer.capacity() - used);
        if (count < 0)
            return failed(error, file.errorString());
    }
    if (used < buffer.capacity())
        return decodePaddedHistory(QByteArrayView(buffer.data(), used), error);
    // The file grew while being read: take the rest as it comes.
    const QByteArray whole = QByteArray(buffer.data(), used) + file.readAll();
    return decodeHistory(whole, error);
}

} // namespace

std::optional<QList<DataPoint>> readHistoryFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failed(error, file.errorString());
    if (!file.isSequential())
        return readInPlace(file, error);
    // Pipes and devices do not tell their size.
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(error, file.errorString());
    return decodeHistory(bytes, error);
}

bool writeHistoryFile(const QString &path, const QList<DataPoint> &history, QString *error)
{
    const std::optional<QByteArray> json = encodeHistory(history, error);
    return json && writeFileAtomically(path, *json, error);
}
