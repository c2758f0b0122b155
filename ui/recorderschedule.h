#pragma once

#include <QString>

#include <optional>

// Whether `quillbank-cli record` runs every hour, and the switch: the
// systemd user timer on Linux, a launchd agent on macOS.
class RecorderSchedule
{
public:
    virtual ~RecorderSchedule() = default;
    // Nothing, with *why set, when the scheduler cannot be asked.
    virtual std::optional<bool> isOn(QString *why) = 0;
    // False, with *why set, when it could not be switched.
    virtual bool setOn(bool on, QString *why) = 0;
};

// This build's quillbank-cli, which a schedule written here runs.
QString recorderProgram();
