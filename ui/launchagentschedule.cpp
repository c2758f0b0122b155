#include "launchagentschedule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

#include <unistd.h>

namespace {

const QString label = QStringLiteral("org.quillbank.record");
// The template's program, replaced by this build's.
const QByteArray templateProgram = "/usr/local/bin/quillbank-cli";
constexpr int launchctlMilliseconds = 10000;

QString agentPath()
{
    return QDir::homePath() + u"/Library/LaunchAgents/"_qs + label + u".plist"_qs;
}

QString domain()
{
    return u"gui/"_qs + QString::number(getuid());
}

// launchctl's exit status, or -1 when it did not run; *output its words.
int launchctl(const QStringList &arguments, QString *output)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral("/bin/launchctl"), arguments);
    if (!tool.waitForFinished(launchctlMilliseconds) || tool.exitStatus() != QProcess::NormalExit) {
        *output = tool.errorString();
        return -1;
    }
    *output = QString::fromLocal8Bit(tool.readAll()).trimmed();
    return tool.exitCode();
}

QByteArray agentText()
{
    QFile file(u":/recorder/macos/"_qs + label + u".plist"_qs);
    QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return text.replace(templateProgram, recorderProgram().toHtmlEscaped().toUtf8());
}

} // namespace

std::optional<bool> LaunchAgentSchedule::isOn(QString *why)
{
    const int status = launchctl({QStringLiteral("print"), domain() + u'/' + label}, why);
    if (status < 0)
        return std::nullopt;
    return status == 0;
}

bool LaunchAgentSchedule::setOn(bool on, QString *why)
{
    if (!on) {
        launchctl({QStringLiteral("bootout"), domain() + u'/' + label}, why);
        QFile agent(agentPath());
        if (agent.remove() || !agent.exists())
            return true;
        *why = QStringLiteral("cannot remove %1: %2").arg(agent.fileName(), agent.errorString());
        return false;
    }
    return writeAgent(why) &&
           launchctl({QStringLiteral("bootstrap"), domain(), agentPath()}, why) == 0;
}

bool LaunchAgentSchedule::writeAgent(QString *why)
{
    const QByteArray text = agentText();
    QSaveFile file(agentPath());
    if (!text.isEmpty() && QDir().mkpath(QFileInfo(agentPath()).path()) &&
        file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    *why = QStringLiteral("cannot write %1: %2").arg(agentPath(), file.errorString());
    return false;
}
