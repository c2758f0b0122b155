#include "strayprocesses.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::atomic<bool> adopted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// Each round may hand us the children of those it killed.
constexpr int maxRounds = 64;

// Appends the decimal digits of number to text at *length (no snprintf: it is
// not async-signal-safe).
void appendNumber(char *text, int *length, long number)
{
    char digits[24];
    int count = 0;
    do {
        digits[count++] = char('0' + number % 10);
        number /= 10;
    } while (number > 0);
    while (count > 0)
        text[(*length)++] = digits[--count];
}

void append(char *text, int *length, const char *part)
{
    while (*part)
        text[(*length)++] = *part++;
}

// A child that called setsid leads a group of its own: kill that too.
void stop(pid_t child)
{
    kill(-child, SIGKILL);
    kill(child, SIGKILL);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// Orphans are handed to the main thread, whose task id is the process id.
bool stopListedChildren()
{
    char path[64];
    int length = 0;
    append(path, &length, "/proc/self/task/");
    appendNumber(path, &length, long(getpid()));
    append(path, &length, "/children");
    path[length] = '\0';
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char list[4096];
    const ssize_t count = read(fd, list, sizeof list);
    close(fd);
    bool any = false;
    pid_t pid = 0;
    for (ssize_t i = 0; i <= count; ++i) {
        if (i < count && list[i] >= '0' && list[i] <= '9') {
            pid = pid * 10 + (list[i] - '0');
            continue;
        }
        if (pid > 0) {
            stop(pid);
            any = true;
        }
        pid = 0;
    }
    return any;
}

} // namespace

void StrayProcesses::adopt()
{
    if (prctl(PR_SET_CHILD_SUBREAPER, 1) == 0)
        adopted = true;
}

void StrayProcesses::killAll()
{
    for (int round = 0; adopted && round < maxRounds && stopListedChildren(); ++round) {
    }
}
