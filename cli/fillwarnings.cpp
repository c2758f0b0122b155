#include "fillwarnings.h"

#include "commandline.h"
#include "desktopnotifier.h"
#include "trendline.h"

namespace {

QString summaryOf(const ContainerInfo &container, const TrendCrossing &crossing)
{
    const QString name = container.firstVolName.isEmpty()
                             ? container.conRef
                             : container.firstVolName + u" (" + container.conRef + u')';
    const double weeks = crossing.trend.fit->weeks.value_or(0.0);
    return QStringLiteral("%1 fills in %2 weeks").arg(name, QString::number(weeks, 'f', 1));
}

} // namespace

void warnOfCrossings(DiskInfo &store, const WeekThresholds &limits, Notifier &notifier)
{
    if (store.globalConData().isEmpty())
        return;
    for (const ContainerInfo &container : store.globalConData().constLast().containers) {
        store.selectContainer(container.conUUID);
        const std::optional<TrendCrossing> crossing = trendCrossing(store.trendReadings(), limits);
        if (crossing)
            notifier.notify(summaryOf(container, *crossing), trendLine(crossing->trend),
                            crossing->critical);
    }
}

QCommandLineOption noNotifyOption()
{
    return {QStringLiteral("no-notify"),
            QStringLiteral("Send no desktop notification when a forecast comes within N or M "
                           "weeks.")};
}

void warnOnDesktop(const CommandLine &line, DiskInfo &store, const WeekThresholds &limits)
{
    if (line.isSet(QStringLiteral("no-notify")))
        return;
    DesktopNotifier desktop;
    warnOfCrossings(store, limits, desktop);
}
