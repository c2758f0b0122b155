#include "historyfile.h"

#include "atomicfile.h"
#include "fileerrors.h"
#include "historydecoder.h"
#include "historyencoder.h"
#include "jsonbuffer.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Room for the file to have grown since its size was asked.
constexpr qsizetype slack = 64 * 1024;
// What is read first, to refuse at once a file that does not start as a
// history does, however large it is.
constexpr qsizetype startLength = 4096;

using History = std::optional<QList<DataPoint>>;

// A regular file is read straight into a buffer with room for the decoder's
// padding, so a history of a hundred megabytes is never copied.
std::optional<QList<DataPoint>> readInPlace(QFile &file, QString *error)
{
    const JsonBuffer buffer(file.size() + slack);
    if (!buffer.isValid())
        throw std::bad_alloc();
    qsizetype used = 0;
    for (qint64 count = 1; count > 0 && used < buffer.capacity(); used += count) {
        count = file.read(buffer.data() + used, buffer.capacity() - used);
        if (count < 0)
            return failed<History>(error, file.errorString());
    }
    if (used < buffer.capacity())
        return decodePaddedHistory(QByteArrayView(buffer.data(), used), error);
    // The file grew while being read: take the rest as it comes.
    const QByteArray whole = QByteArray(buffer.data(), used) + file.readAll();
    return decodeHistory(whole, error);
}

// The regular file at path, open for blocking reads; -1 for anything else, at
// once: O_NONBLOCK keeps the open from waiting for a FIFO's writer, and a
// device such as /dev/zero would never end.
int openRegularFile(const QString &path, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failed<History>(error, qt_error_string(errno));
        return -1;
    }
    struct stat status {};
    QString refusal =
        fstat(fd, &status) == 0 ? notRegularFile(status.st_mode) : qt_error_string(errno);
    if (refusal.isEmpty() && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        refusal = qt_error_string(errno);
    if (refusal.isEmpty())
        return fd;
    ::close(fd);
    failed<History>(error, refusal);
    return -1;
}

// Empty when the file's first bytes may start a history, else why not.
QString refusedStart(int fd)
{
    char start[startLength];
    const ssize_t count = pread(fd, start, sizeof start, 0);
    if (count < 0)
        return qt_error_string(errno);
    return whyNoHistoryStart(QByteArrayView(start, count));
}

} // namespace

std::optional<QList<DataPoint>> readHistoryFile(const QString &path, QString *error)
{
    const int fd = openRegularFile(path, error);
    if (fd < 0)
        return std::nullopt;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed<History>(error, file.errorString());
    }
    if (const QString refusal = refusedStart(fd); !refusal.isEmpty())
        return failed<History>(error, refusal);
    try {
        return readInPlace(file, error);
    } catch (const std::bad_alloc &) {
        return failed<History>(error, u"not enough memory to read " + path);
    }
}

// Only one writer of a history runs at a time (the callers hold its lock), so
// every temporary file of it found now was left by a writer that died.
bool writeHistoryFile(const QString &path, const QList<DataPoint> &history, QString *error)
{
    const std::optional<QByteArray> json = encodeHistory(history, error);
    return json && writeFileAtomically(path, *json, error, Leftovers::Remove);
}
