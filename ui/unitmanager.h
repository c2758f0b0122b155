#pragma once

#include <QString>
#include <QVariantList>

#include <optional>

// The systemd user manager as org.freedesktop.systemd1.Manager offers it on
// the session bus; behind an interface so that tests use a stand-in.
class UnitManager
{
public:
    virtual ~UnitManager() = default;
    // GetUnitFileState: "enabled", "disabled" and so on; empty when no unit
    // of that name is installed; nothing, with *error set, when no user
    // manager answers.
    virtual std::optional<QString> unitFileState(const QString &unit, QString *error) = 0;
    // Calls one of the manager's methods; false, with *error set, when it
    // fails or no manager answers.
    virtual bool call(const QString &method, const QVariantList &arguments, QString *error) = 0;
};
