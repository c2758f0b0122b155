#include "writetarget.h"

#include "fileerrors.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace {

// Links followed before a chain counts as a loop, as in the kernel's lookup.
constexpr int maxLinks = 40;

// Folders on the way are only looked through: one that may be searched but
// not read (a home folder of mode 0711) must not stop the walk.
#if defined(O_PATH)
constexpr int lookThrough = O_PATH;
#elif defined(O_SEARCH)
constexpr int lookThrough = O_SEARCH;
#else
constexpr int lookThrough = O_RDONLY;
#endif

// The names of a path; "." for one that names a folder itself ("/").
QByteArrayList namesOf(const QByteArray &path)
{
    QByteArrayList names = path.split('/');
    names.removeAll(QByteArray());
    if (names.isEmpty())
        names.append(".");
    return names;
}

// Such a link says no more than its owner could do without it.
bool isTrusted(const struct stat &link)
{
    return link.st_uid == geteuid() || link.st_uid == 0;
}

QString userName(uid_t uid)
{
    struct passwd entry {};
    struct passwd *found = nullptr;
    char buffer[1024];
    if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}

} // namespace

WriteTarget::~WriteTarget()
{
    if (m_folder >= 0)
        ::close(m_folder);
}

QByteArray WriteTarget::path() const
{
    if (m_folderPath.isEmpty())
        return m_name;
    return m_folderPath.endsWith('/') ? QByteArray(m_folderPath + m_name)
                                      : QByteArray(m_folderPath + '/' + m_name);
}

bool WriteTarget::resolve(const QByteArray &path, QString *error)
{
    if (path.isEmpty())
        return failed(error, qt_error_string(ENOENT));
    if (!startAt(path, error))
        return false;
    QByteArrayList pending = namesOf(path);
    while (!pending.isEmpty()) {
        m_name = pending.takeFirst();
        struct stat status {};
        if (fstatat(m_folder, m_name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT || !pending.isEmpty())
                return failed(error, qt_error_string(errno));
        } else if (S_ISLNK(status.st_mode)) {
            if (!follow(m_name, status, pending, error))
                return false;
        } else if (pending.isEmpty()) {
            m_existing = status;
        } else if (!enter(m_name, error)) {
            return false;
        }
    }
    // The save syncs the folder, which needs it open for reading.
    return enter(".", error);
}

bool WriteTarget::startAt(const QByteArray &path, QString *error)
{
    const bool absolute = path.startsWith('/');
    const int folder = ::open(absolute ? "/" : ".", lookThrough | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return failed(error, qt_error_string(errno));
    if (m_folder >= 0)
        ::close(m_folder);
    m_folder = folder;
    m_folderPath = absolute ? "/" : "";
    return true;
}

bool WriteTarget::enter(const QByteArray &name, QString *error)
{
    const bool last = name == ".";
    const int flags = (last ? O_RDONLY : lookThrough) | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    const int next = openat(m_folder, name.constData(), flags);
    if (next < 0)
        return failed(error, qt_error_string(errno));
    ::close(m_folder);
    m_folder = next;
    if (!last)
        m_folderPath = path();
    return true;
}

bool WriteTarget::follow(const QByteArray &name, const struct stat &link, QByteArrayList &pending,
                         QString *error)
{
    if (++m_links > maxLinks)
        return failed(error, qt_error_string(ELOOP));
    if (!isTrusted(link))
        return failed(error, QStringLiteral("will not follow the symbolic link %1: it belongs to "
                                            "user %2, neither to this user nor to root")
                                 .arg(QFile::decodeName(path()), userName(link.st_uid)));
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t length =
        readlinkat(m_folder, name.constData(), target.data(), size_t(target.size()));
    if (length < 0)
        return failed(error, qt_error_string(errno));
    if (length >= target.size())
        return failed(error, qt_error_string(ENAMETOOLONG));
    target.truncate(length);
    if (target.startsWith('/') && !startAt(target, error))
        return false;
    pending = namesOf(target) + pending;
    return true;
}
