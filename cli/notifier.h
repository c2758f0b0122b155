#pragma once

#include <QString>

// Where record tells a person that a disk fills soon: the desktop's
// notifications, or a test's stand-in.
class Notifier
{
public:
    virtual ~Notifier() = default;
    // Shows one notification; where none can be shown, does nothing and
    // says nothing.
    virtual void notify(const QString &summary, const QString &body, bool critical) = 0;
};
