// Reads and writes a generated history of 100,000 readings of 4 containers
// (about 107 MB) and prints the medians: read and write speed, Python's
// json.load on the same file for comparison, and the peak memory of a
// process that reads the file.
#include "DiskInfo.h"
#include "clock.h"
#include "historyencoder.h"
#include "historyfile.h"
#include "ids.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int readings = 100000;
constexpr int runs = 5;

QList<DataPoint> generatedHistory()
{
    struct Container {
        QString conUUID, conRef, volNames, firstVolName;
        qint64 capacity;
    };
    QList<Container> containers;
    for (int c = 0; c < 4; ++c)
        containers.append({newId().toString(QUuid::WithoutBraces).toUpper(),
                           QStringLiteral("disk%1").arg(c + 3),
                           QStringLiteral("Macintosh HD, Data, VM"), QStringLiteral("Macintosh HD"),
                           494384795648 + c});
    QList<DataPoint> history;
    history.reserve(readings);
    for (int i = 0; i < readings; ++i) {
        DataPoint point{newId(), 700000000.0 + i * 3600.123456789, {}};
        for (const Container &c : containers) {
            const qint64 used = 100000000000 + qint64(i) * 1234567 + c.capacity % 7;
            point.containers.append(ContainerInfo{newId(), c.conUUID, c.conRef, c.capacity,
                                                  c.capacity - used, c.volNames, c.firstVolName,
                                                  used - 2048});
        }
        history.append(point);
    }
    return history;
}

// Times work; what it returns is destroyed after the clock has stopped, as
// freeing memory is no part of what is measured.
template <typename Work>
double medianSeconds(Work work)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        [[maybe_unused]] const auto result = work();
        times.append(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(times.begin(), times.end());
    return times.at(runs / 2);
}

// Everything Read JSON does after the dialog: read, decode, replace the
// history and rebuild the flattened list.
std::unique_ptr<DiskInfo> readIntoStore(const QString &path)
{
    // No listing tool and no files: only the history is replaced.
    auto store = std::make_unique<DiskInfo>(std::make_unique<SystemClock>(), nullptr, nullptr);
    const auto history = readHistoryFile(path);
    if (!history)
        qFatal("the generated history does not read back");
    store->replaceHistory(*history);
    return store;
}

qint64 peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// The child process: peak resident memory before and after one read.
int readChild(const QString &path)
{
    const qint64 before = peakKilobytes();
    readIntoStore(path);
    std::printf("%lld %lld\n", before, peakKilobytes());
    return 0;
}

double pythonSeconds(const QString &path)
{
    const QString script = QStringLiteral("import json, sys, time\n"
                                          "times = []\n"
                                          "for _ in range(3):\n"
                                          "    t = time.perf_counter()\n"
                                          "    with open(sys.argv[1], 'rb') as f: json.load(f)\n"
                                          "    times.append(time.perf_counter() - t)\n"
                                          "print(sorted(times)[1])\n");
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, path});
    if (!python.waitForFinished(-1) || python.exitCode() != 0)
        return -1;
    return python.readAllStandardOutput().trimmed().toDouble();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == u"--read-child")
        return readChild(args.at(2));
    if (args.size() == 3 && args.at(1) == u"--generate") // keeps the file, for profiling
        return writeHistoryFile(args.at(2), generatedHistory()) ? 0 : 1;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.json"));
    const QList<DataPoint> history = generatedHistory();
    if (!writeHistoryFile(path, history))
        qFatal("cannot write %s", qPrintable(path));
    const double megabytes = double(QFile(path).size()) / 1e6;
    std::printf("history: %d readings x 4 containers, %.1f MB\n", readings, megabytes);

    const double encode = medianSeconds([&] { return encodeHistory(history); });
    const double write = medianSeconds([&] { return writeHistoryFile(path, history); });
    std::printf("encode median: %.1f ms, %.0f MB/s\n", encode * 1e3, megabytes / encode);
    std::printf("write median (encode and atomic write): %.1f ms, %.0f MB/s\n", write * 1e3,
                megabytes / write);

    const double read = medianSeconds([&] { return readIntoStore(path); });
    std::printf("read median (read, decode, history, containerData): %.1f ms, %.0f MB/s\n",
                read * 1e3, megabytes / read);

    const double python = pythonSeconds(path);
    std::printf("python3 json.load median: %.1f ms, %.0f MB/s; read is %.1fx faster\n",
                python * 1e3, megabytes / python, python / read);

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-child"), path});
    child.waitForFinished(-1);
    const QList<QByteArray> peaks = child.readAllStandardOutput().trimmed().split(' ');
    const double before = peaks.value(0).toDouble() / 1e3;
    const double after = peaks.value(1).toDouble() / 1e3;
    std::printf("peak memory reading: %.0f MB (%.0f MB before reading), %.2fx the file\n", after,
                before, after / megabytes);
    return 0;
}
