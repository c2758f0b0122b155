#include "atomicfile.h"

#include <QSaveFile>

namespace {

bool failed(QSaveFile &file, QString *error)
{
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace

bool writeFileAtomically(const QString &path, QByteArrayView bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file, error);
    if (file.write(bytes.data(), bytes.size()) != bytes.size())
        return failed(file, error);
    // A write that fits QSaveFile's buffer reports success at once, and
    // commit() does not notice when the disk then takes only part of it: it
    // would replace the file with a truncated one. flush() does notice.
    if (!file.flush()) {
        if (error)
            *error = QStringLiteral("only part of the file could be written (is the disk full?)");
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
