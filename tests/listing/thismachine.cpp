#include "thismachine.h"

#include "mounttable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

std::optional<MountEntry> rootMount()
{
    QFile file(u"/proc/self/mountinfo"_s);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    std::optional<MountEntry> root;
    for (const MountEntry &entry : parseMountTable(file.readAll())) {
        if (entry.mountPoint == "/")
            root = entry;
    }
    return root;
}

QString anyBlockDevice()
{
    const QStringList names = QDir(u"/dev"_s).entryList(QDir::System);
    for (const QString &name : names) {
        struct stat info;
        const QString path = u"/dev/"_s + name;
        if (stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISBLK(info.st_mode))
            return path;
    }
    return QString();
}

bool makeExt4Image(const QString &path, const QString &label, const QString &uuid)
{
    const QString mkfs =
        QStandardPaths::findExecutable(u"mkfs.ext4"_s, {u"/usr/sbin"_s, u"/sbin"_s});
    QFile file(path);
    if (mkfs.isEmpty() || !file.open(QIODevice::WriteOnly) || !file.resize(4 << 20))
        return false;
    file.close();
    const QStringList arguments{u"-q"_s, u"-F"_s, u"-L"_s, label, u"-U"_s, uuid, path};
    return QProcess::execute(mkfs, arguments) == 0;
}
