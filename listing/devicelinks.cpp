#include "devicelinks.h"

#include "hexdigits.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace {

// The byte an escape \xNN at position i stands for, or -1 when there is none.
int escapedByteAt(QByteArrayView name, qsizetype i)
{
    if (i + 3 >= name.size() || name[i] != '\\' || name[i + 1] != 'x')
        return -1;
    const int high = hexDigitValue(name[i + 2]);
    const int low = hexDigitValue(name[i + 3]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};

} // namespace

QString DeviceLinks::decodeLinkName(QByteArrayView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const int escaped = escapedByteAt(name, i);
        bytes.append(escaped < 0 ? name[i] : char(escaped));
        if (escaped >= 0)
            i += 3;
    }
    return QString::fromUtf8(bytes);
}

std::optional<QString> DeviceLinks::nameOf(quint64 device)
{
    if (!m_names)
        read();
    const auto it = m_names->constFind(device);
    if (it == m_names->cend())
        return std::nullopt;
    return *it;
}

void DeviceLinks::read()
{
    m_names.emplace();
    const std::unique_ptr<DIR, DirCloser> dir(opendir(m_folder.constData()));
    if (!dir)
        return;
    while (const dirent *entry = readdir(dir.get())) {
        struct stat target;
        if (entry->d_name[0] == '.' || fstatat(dirfd(dir.get()), entry->d_name, &target, 0) != 0)
            continue;
        if (S_ISBLK(target.st_mode))
            m_names->insert(target.st_rdev, decodeLinkName(entry->d_name));
    }
}
