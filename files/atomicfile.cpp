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
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
