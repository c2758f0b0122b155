#include "systemdschedule.h"

#include "systemdusermanager.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString timerUnit = QStringLiteral("quillbank-record.timer");
const QString serviceUnit = QStringLiteral("quillbank-record.service");
// The installed units' ExecStart names the installed tool; a written one names this build's.
const QByteArray installedProgram = "@CMAKE_INSTALL_FULL_BINDIR@/quillbank-cli";

// One word of a systemd command line: quoted, with its escapes, specifiers
// and variables kept literal.
QByteArray systemdWord(QString text)
{
    text.replace(u'\\', u"\\\\"_qs)
        .replace(u'"', u"\\\""_qs)
        .replace(u'%', u"%%"_qs)
        .replace(u'$', u"$$"_qs);
    return '"' + text.toUtf8() + '"';
}

QByteArray unitTemplate(const QString &name)
{
    QFile file(u":/recorder/systemd/"_qs + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

SystemdSchedule::SystemdSchedule(std::unique_ptr<UnitManager> manager, QString unitFolder,
                                 QString recorderProgram)
    : m_manager(std::move(manager)), m_unitFolder(std::move(unitFolder)),
      m_program(std::move(recorderProgram))
{}

SystemdSchedule::SystemdSchedule()
    : SystemdSchedule(std::make_unique<SystemdUserManager>(),
                      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                          u"/systemd/user"_qs,
                      recorderProgram())
{}

std::optional<bool> SystemdSchedule::isOn(QString *why)
{
    const std::optional<QString> state = isInstalled(why);
    if (!state)
        return std::nullopt;
    return state->startsWith(u"enabled");
}

std::optional<QString> SystemdSchedule::isInstalled(QString *why)
{
    QString error;
    const std::optional<QString> state = m_manager->unitFileState(timerUnit, &error);
    if (!state)
        *why = u"the systemd user manager does not answer: "_qs + error;
    return state;
}

bool SystemdSchedule::setOn(bool on, QString *why)
{
    const std::optional<QString> state = isInstalled(why);
    if (!state)
        return false;
    const QString mode = QStringLiteral("replace");
    if (!on)
        return m_manager->call(QStringLiteral("DisableUnitFiles"), {QStringList{timerUnit}, false},
                               why) &&
               m_manager->call(QStringLiteral("StopUnit"), {timerUnit, mode}, why);
    return (!state->isEmpty() || install(why)) &&
           m_manager->call(QStringLiteral("EnableUnitFiles"),
                           {QStringList{timerUnit}, false, false}, why) &&
           m_manager->call(QStringLiteral("StartUnit"), {timerUnit, mode}, why);
}

bool SystemdSchedule::install(QString *why)
{
    const QByteArray service =
        unitTemplate(serviceUnit + u".in").replace(installedProgram, systemdWord(m_program));
    return writeUnit(serviceUnit, service, why) &&
           writeUnit(timerUnit, unitTemplate(timerUnit), why) &&
           m_manager->call(QStringLiteral("Reload"), {}, why);
}

bool SystemdSchedule::writeUnit(const QString &name, const QByteArray &text, QString *why)
{
    QSaveFile file(QDir(m_unitFolder).filePath(name));
    if (!text.isEmpty() && QDir().mkpath(m_unitFolder) && file.open(QIODevice::WriteOnly) &&
        file.write(text) == text.size() && file.commit())
        return true;
    *why = QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
    return false;
}
