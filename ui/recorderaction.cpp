#include "recorderaction.h"

#include "launchagentschedule.h"

#ifndef Q_OS_MACOS
#include "systemdschedule.h"
#endif

#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>

RecorderAction::RecorderAction(std::unique_ptr<RecorderSchedule> schedule, QMenu *menu)
    : QAction(tr("Take a Reading Every Hour"), menu), m_schedule(std::move(schedule)),
      m_window(menu->parentWidget() ? menu->parentWidget()->window() : nullptr)
{
    setObjectName(QStringLiteral("everyhour"));
    setCheckable(true);
    menu->addAction(this);
    connect(menu, &QMenu::aboutToShow, this, &RecorderAction::readState);
    connect(this, &QAction::triggered, this, &RecorderAction::switchTo);
}

std::unique_ptr<RecorderSchedule> RecorderAction::platformSchedule()
{
#ifdef Q_OS_MACOS
    return std::make_unique<LaunchAgentSchedule>();
#else
    return std::make_unique<SystemdSchedule>();
#endif
}

void RecorderAction::readState()
{
    QString ignored;
    setChecked(m_schedule->isOn(&ignored).value_or(false));
}

void RecorderAction::switchTo(bool on)
{
    QString why;
    const bool switched = m_schedule->setOn(on, &why);
    readState();
    if (switched)
        return;
    auto *box = new QMessageBox(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                                on ? tr("The hourly reading could not be turned on.")
                                   : tr("The hourly reading could not be turned off."),
                                QMessageBox::Ok, m_window);
    box->setInformativeText(why);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
