// selectContainer over 1,000,000 flattened entries (250,000 readings of 4
// containers) with an observer connected to the store's announcements.
#include "DiskInfo.h"
#include "clock.h"
#include "ids.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

qint64 churn(quint64 &state)
{
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<qint64>(state % 400000000);
}

// Used space grows by about 1 MB an hour under a few hundred MB of day-to-day
// churn, so a new maximum comes now and then, not at every reading.
void fill(DiskInfo &store, int readings, int containers)
{
    quint64 noise = 88172645463325252ull;
    QList<DataContainerInfo> data;
    data.reserve(qsizetype(readings) * containers);
    QStringList uuids;
    for (int c = 0; c < containers; ++c)
        uuids.append(newId().toString(QUuid::WithoutBraces).toUpper());
    for (int r = 0; r < readings; ++r) {
        const double date = 700000000.0 + r * 3600.0;
        for (int c = 0; c < containers; ++c) {
            // Readings share their texts, as Check All and reading a file make them.
            const ContainerInfo info{newId(),
                                     uuids[c],
                                     QStringLiteral("disk%1").arg(c),
                                     994662584320,
                                     400000000000 - r * 1000,
                                     QStringLiteral("Macintosh HD, Data"),
                                     QStringLiteral("Macintosh HD"),
                                     500000000000 + qint64(r) * 1000000 + churn(noise)};
            data.append(DataContainerInfo::fromContainer(info, date, QString()));
        }
    }
    store.setContainerData(data);
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    DiskInfo store(std::make_unique<SystemClock>(), nullptr, nullptr);
    fill(store, 250000, 4);
    const QString target = store.containerData().at(2).conUUID;

    qint64 announcements = 0;
    QObject::connect(&store, &DiskInfo::aboutToChange,
                     [&](DiskInfo::Property) { ++announcements; });
    qint64 maxima = 0;
    QObject::connect(&store, &DiskInfo::changed, [&](DiskInfo::Property p) {
        ++announcements;
        maxima += p == DiskInfo::Property::MaxSizeTotal;
    });

    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int run = 0; run < 81; ++run) {
        const double cpuStart = threadCpuMs();
        QElapsedTimer timer;
        timer.start();
        store.selectContainer(target);
        times.push_back(timer.nsecsElapsed() / 1e6);
        cpuTimes.push_back(threadCpuMs() - cpuStart);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    std::printf("selectContainer, 1,000,000 entries, %lld points, %lld new maxima: median %.2f ms "
                "(min %.2f, "
                "max %.2f), %lld announcements per call\n",
                static_cast<long long>(store.ratesPoints().size()), maxima / 81,
                times[times.size() / 2], times.front(), times.back(), announcements / 81);
    // On a busy machine wall time includes waiting for a core; CPU time does not.
    std::printf("  thread CPU time: median %.2f ms\n", cpuTimes[cpuTimes.size() / 2]);
    return 0;
}
