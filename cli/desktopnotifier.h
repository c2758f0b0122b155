#pragma once

#include "notifier.h"

// The desktop's notifications: org.freedesktop.Notifications on the session
// bus, or on macOS `osascript -e 'display notification …'`. Without a
// session bus or a notification service nothing is shown, and record's exit
// status does not change.
class DesktopNotifier : public Notifier
{
public:
    void notify(const QString &summary, const QString &body, bool critical) override;
};
