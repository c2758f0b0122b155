#pragma once

#include "DiskInfo.h"
#include "trendcrossing.h"

#include <QCommandLineOption>

class CommandLine;
class Notifier;

// record's warning before a disk fills: a notification for each container of
// the history's last reading whose forecast that reading brought within a
// threshold (trendcrossing.h). It names the container by its first volume
// and conRef, the weeks, and the recent trend with its fill date and range.
void warnOfCrossings(DiskInfo &store, const WeekThresholds &limits, Notifier &notifier);

// record's --no-notify.
QCommandLineOption noNotifyOption();
// The warnings on the desktop, unless --no-notify; never a failure.
void warnOnDesktop(const CommandLine &line, DiskInfo &store, const WeekThresholds &limits);
