#pragma once

#include "recorderschedule.h"
#include "unitmanager.h"

#include <memory>

// The hourly recorder as quillbank-record.timer of the systemd user manager.
// Turning it on enables the timer's unit file, then starts it; turning it off
// disables, then stops it. Where the units are not installed (a build run
// from its source tree), they are first written to the user's unit folder,
// with ExecStart naming the given quillbank-cli.
class SystemdSchedule : public RecorderSchedule
{
public:
    // unitFolder: ~/.config/systemd/user by default.
    SystemdSchedule(std::unique_ptr<UnitManager> manager, QString unitFolder,
                    QString recorderProgram);
    // The user manager over D-Bus, the user's unit folder and this build's
    // quillbank-cli.
    SystemdSchedule();

    std::optional<bool> isOn(QString *why) override;
    bool setOn(bool on, QString *why) override;

private:
    // The timer's unit file state, empty when it is not installed.
    std::optional<QString> isInstalled(QString *why);
    bool install(QString *why);
    bool writeUnit(const QString &name, const QByteArray &text, QString *why);

    std::unique_ptr<UnitManager> m_manager;
    QString m_unitFolder;
    QString m_program;
};
