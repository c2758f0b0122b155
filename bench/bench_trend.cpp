// The recent trend of one container whose last 30 days hold 100,000 readings,
// thinned to 1,001 before pairing: half a million slopes and their ranks.
#include "recenttrend.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// Used space grows by about 1 MB a reading under a few hundred MB of churn.
std::vector<TrendReading> readings(int count)
{
    quint64 noise = 88172645463325252ull;
    std::vector<TrendReading> result;
    result.reserve(count);
    for (int i = 0; i < count; ++i) {
        noise ^= noise << 13;
        noise ^= noise >> 7;
        noise ^= noise << 17;
        const qint64 used = 500000000000 + qint64(i) * 1000000 + qint64(noise % 400000000);
        result.push_back({700000000.0 + i * 25.0, used, 994662584320 - used, 994662584320});
    }
    return result;
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

int main()
{
    const std::vector<TrendReading> history = readings(100000);
    std::vector<double> times;
    std::vector<double> cpuTimes;
    double rate = 0.0;
    for (int run = 0; run < 81; ++run) {
        const double cpuStart = threadCpuMs();
        QElapsedTimer timer;
        timer.start();
        const RecentTrend trend = recentTrend(history);
        times.push_back(timer.nsecsElapsed() / 1e6);
        cpuTimes.push_back(threadCpuMs() - cpuStart);
        rate = trend.fit ? trend.fit->rate : 0.0;
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    std::printf("recentTrend, 100,000 readings in the window (%.2f GB/week): median %.2f ms "
                "(min %.2f, max %.2f)\n",
                rate, times[times.size() / 2], times.front(), times.back());
    // On a busy machine wall time includes waiting for a core; CPU time does not.
    std::printf("  thread CPU time: median %.2f ms\n", cpuTimes[cpuTimes.size() / 2]);
    return 0;
}
