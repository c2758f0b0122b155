#include "systemdusermanager.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace {

// The manager answers at once; a hung one must not freeze the window long.
constexpr int answerMilliseconds = 5000;

// What GetUnitFileState answers for a unit that no folder holds.
bool isMissingUnit(const QDBusMessage &reply)
{
    return reply.errorName() == u"org.freedesktop.DBus.Error.FileNotFound" ||
           reply.errorName() == u"org.freedesktop.systemd1.NoSuchUnit";
}

std::optional<QDBusMessage> send(const QString &method, const QVariantList &arguments,
                                 QString *error)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        *error = QStringLiteral("no session bus: %1").arg(bus.lastError().message());
        return std::nullopt;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.systemd1"), QStringLiteral("/org/freedesktop/systemd1"),
        QStringLiteral("org.freedesktop.systemd1.Manager"), method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, answerMilliseconds);
}

} // namespace

std::optional<QString> SystemdUserManager::unitFileState(const QString &unit, QString *error)
{
    const std::optional<QDBusMessage> reply =
        send(QStringLiteral("GetUnitFileState"), {unit}, error);
    if (reply && reply->type() == QDBusMessage::ReplyMessage)
        return reply->arguments().value(0).toString();
    if (reply && isMissingUnit(*reply))
        return QString();
    if (reply)
        *error = reply->errorMessage();
    return std::nullopt;
}

bool SystemdUserManager::call(const QString &method, const QVariantList &arguments, QString *error)
{
    const std::optional<QDBusMessage> reply = send(method, arguments, error);
    if (reply && reply->type() != QDBusMessage::ReplyMessage)
        *error = reply->errorMessage();
    return reply && reply->type() == QDBusMessage::ReplyMessage;
}
