#pragma once

#include "unitmanager.h"

// The user's own systemd instance, over QtDBus.
class SystemdUserManager : public UnitManager
{
public:
    std::optional<QString> unitFileState(const QString &unit, QString *error) override;
    bool call(const QString &method, const QVariantList &arguments, QString *error) override;
};
