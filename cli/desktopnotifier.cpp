#include "desktopnotifier.h"

#ifdef Q_OS_MACOS
#include <QProcess>
#else
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#endif

namespace {

// A notification service started on demand has this long to answer.
constexpr int answerMilliseconds = 5000;

#ifdef Q_OS_MACOS
QString appleScriptText(QString text)
{
    return u'"' + text.replace(u'\\', u"\\\\"_qs).replace(u'"', u"\\\""_qs) + u'"';
}
#endif

} // namespace

#ifdef Q_OS_MACOS

void DesktopNotifier::notify(const QString &summary, const QString &body, bool)
{
    QProcess script;
    script.start(QStringLiteral("/usr/bin/osascript"),
                 {QStringLiteral("-e"), u"display notification " + appleScriptText(body) +
                                            u" with title " + appleScriptText(summary)});
    script.waitForFinished(answerMilliseconds);
}

#else

void DesktopNotifier::notify(const QString &summary, const QString &body, bool critical)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Urgency is a byte: 1 normal, 2 critical.
    const QVariantMap hints{
        {QStringLiteral("urgency"), QVariant::fromValue(uchar(critical ? 2 : 1))},
        {QStringLiteral("desktop-entry"), QStringLiteral("org.quillbank.Quillbank")}};
    call << QStringLiteral("Quillbank") << uint(0) << QStringLiteral("quillbank") << summary << body
         << QStringList() << hints << -1;
    bus.call(call, QDBus::Block, answerMilliseconds);
}

#endif
