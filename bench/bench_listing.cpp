// Time from start to exit of quillbank-listing, on a 50-entry mount table and
// on this machine's own, as the median of many runs.

#include "mounttable.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int runs = 101;
constexpr int entries = 50;
const char *const program = QUILLBANK_BIN_DIR "/quillbank-listing";

// Every entry is the real root mount under a device of its own, so each one is
// measured and looked up in full, as a real filesystem would be.
QByteArray benchTable()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    int rootId = 0;
    if (file.open(QIODevice::ReadOnly)) {
        for (const MountEntry &entry : parseMountTable(file.readAll()))
            rootId = entry.mountPoint == "/" ? entry.mountId : rootId;
    }
    QByteArray table;
    for (int i = 0; i < entries; ++i) {
        const QByteArray n = QByteArray::number(i);
        table += QByteArray::number(rootId) + " 1 8:" + n + " / / rw,relatime - ext4 /dev/bench" +
                 n + " rw\n";
    }
    return table;
}

// Milliseconds from spawn to exit; negative when the run fails.
double timedRun(const QByteArray &environmentEntry)
{
    std::vector<char *> environment;
    for (char **e = environ; *e; ++e)
        environment.push_back(*e);
    QByteArray entry = environmentEntry;
    if (!entry.isEmpty())
        environment.push_back(entry.data());
    environment.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    char *argv[] = {const_cast<char *>(program), const_cast<char *>("apfs"),
                    const_cast<char *>("list"), const_cast<char *>("-plist"), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = 0;
    const bool ok = posix_spawn(&pid, program, &actions, nullptr, argv, environment.data()) == 0 &&
                    waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                    WEXITSTATUS(status) == 0;
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    return ok ? std::chrono::duration<double, std::milli>(end - start).count() : -1;
}

void report(const char *what, const QByteArray &environmentEntry)
{
    timedRun(environmentEntry); // warm the page cache
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = timedRun(environmentEntry);
        if (ms < 0) {
            std::printf("%s: quillbank-listing failed\n", what);
            return;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("%s: median %.2f ms (min %.2f, max %.2f) over %d runs\n", what, times[runs / 2],
                times.front(), times.back(), runs);
}

} // namespace

int main()
{
    QTemporaryFile table;
    if (!table.open() || table.write(benchTable()) < 0 || !table.flush())
        return 1;
    report("quillbank-listing, 50-entry mount table",
           "QUILLBANK_MOUNTINFO=" + QFile::encodeName(table.fileName()));
    report("quillbank-listing, this machine's mount table", QByteArray());
    return 0;
}
