#pragma once

#include "recorderschedule.h"

#include <QAction>
#include <QPointer>

#include <memory>

class QMenu;

// File ▸ "Take a Reading Every Hour": shows and sets whether the recorder
// runs. The check mark is read from the scheduler each time the menu opens,
// so that it tells the real state, however it was set; a switch that fails
// shows why in a message box and leaves the mark as the scheduler has it.
class RecorderAction : public QAction
{
    Q_OBJECT
public:
    // Joins the menu, whose opening reads the state.
    RecorderAction(std::unique_ptr<RecorderSchedule> schedule, QMenu *menu);

    // The systemd user timer, or the launchd agent on macOS.
    static std::unique_ptr<RecorderSchedule> platformSchedule();

    // Sets the check mark from the scheduler; unchecked when it cannot tell.
    void readState();

private:
    void switchTo(bool on);

    std::unique_ptr<RecorderSchedule> m_schedule;
    QPointer<QWidget> m_window; // the menu's window, over which a failure shows
};
