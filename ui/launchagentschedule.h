#pragma once

#include "recorderschedule.h"

// The hourly recorder on macOS: the launchd agent org.quillbank.record in
// ~/Library/LaunchAgents, running this build's quillbank-cli. Turning it on
// writes the agent and loads it with `launchctl bootstrap gui/UID`; turning
// it off unloads it with `launchctl bootout` and removes it, so that it does
// not come back at the next login.
class LaunchAgentSchedule : public RecorderSchedule
{
public:
    std::optional<bool> isOn(QString *why) override;
    bool setOn(bool on, QString *why) override;

private:
    bool writeAgent(QString *why);
};
