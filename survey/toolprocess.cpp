#include "toolprocess.h"

#include "strayprocesses.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

constexpr qsizetype readChunk = 64 * 1024;
constexpr std::chrono::milliseconds exitPoll{5};

// The program of the ToolProcess alive now, for abandonRunning(); -1: none.
std::atomic<pid_t> running{-1};
static_assert(std::atomic<pid_t>::is_always_lock_free);

// A pipe whose ends no program we start inherits. pipe2 would do it in one
// call, but it is not POSIX.
bool closeOnExecPipe(int ends[2])
{
    if (::pipe(ends) != 0)
        return false;
    if (::fcntl(ends[0], F_SETFD, FD_CLOEXEC) == 0 && ::fcntl(ends[1], F_SETFD, FD_CLOEXEC) == 0)
        return true;
    const int error = errno;
    ::close(ends[0]);
    ::close(ends[1]);
    errno = error;
    return false;
}

// SIGCHLD ignored, as a parent (a daemon, some cron and CI runners) may hand
// it down to either front, has the kernel reap the tool unseen and its exit
// status lost, and a failed listing would pass for a good one.
void keepExitStatus()
{
    struct sigaction action {};
    ::sigaction(SIGCHLD, nullptr, &action);
    if (action.sa_handler == SIG_IGN)
        ::signal(SIGCHLD, SIG_DFL);
}

// The child starts its own process group (its id is the child's pid) with
// the signal mask cleared, whatever threads of ours happen to block.
int spawnInGroup(pid_t *pid, int outputEnd, const QStringList &argv)
{
    QList<QByteArray> bytes;
    std::vector<char *> args;
    for (const QString &arg : argv)
        bytes.append(arg.toLocal8Bit());
    for (QByteArray &arg : bytes)
        args.push_back(arg.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    sigset_t none;
    sigemptyset(&none);
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputEnd, STDOUT_FILENO);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigmask(&attributes, &none);
    const int error = posix_spawnp(pid, args.front(), &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

} // namespace

ToolProcess::~ToolProcess()
{
    if (m_pid > 0 && !m_exited)
        killGroup();
    running = -1;
    StrayProcesses::killAll();
    if (m_output >= 0)
        ::close(m_output);
}

void ToolProcess::abandonRunning()
{
    const pid_t pid = running.exchange(-1);
    if (pid > 0) {
        ::kill(-pid, SIGKILL);
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    StrayProcesses::killAll();
}

bool ToolProcess::start(const QString &program, const QStringList &arguments, QString *error)
{
    keepExitStatus();
    int ends[2];
    if (!closeOnExecPipe(ends)) {
        *error = qt_error_string(errno);
        return false;
    }
    const int failure = spawnInGroup(&m_pid, ends[1], QStringList{program} + arguments);
    ::close(ends[1]);
    m_output = ends[0];
    if (failure == 0) {
        running = m_pid;
        return true;
    }
    m_pid = -1;
    *error = qt_error_string(failure);
    return false;
}

ToolProcess::Read ToolProcess::readSome(QByteArray &output, std::chrono::milliseconds wait)
{
    pollfd ready{m_output, POLLIN, 0};
    const int polled = ::poll(&ready, 1, int(wait.count()));
    if (polled == 0 || (polled < 0 && errno == EINTR))
        return Read::More;
    if (polled < 0)
        return Read::Failed;
    const qsizetype before = output.size();
    if (output.capacity() < before + readChunk)
        output.reserve(qMax(2 * output.capacity(), before + readChunk));
    output.resize(before + readChunk);
    const ssize_t got = ::read(m_output, output.data() + before, size_t(readChunk));
    output.resize(before + qMax<qsizetype>(got, 0));
    if (got > 0 || (got < 0 && errno == EINTR))
        return Read::More;
    return got == 0 ? Read::EndOfFile : Read::Failed;
}

bool ToolProcess::waitForExit(std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!m_exited) {
        const pid_t done = ::waitpid(m_pid, &m_status, WNOHANG);
        m_exited = done == m_pid || (done < 0 && errno == ECHILD);
        if (m_exited || std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(exitPoll);
    }
    return m_exited;
}

void ToolProcess::killGroup()
{
    // The group outlives the program while anything of it runs, and the
    // program's pid is not reused before we wait for it.
    ::kill(-m_pid, SIGKILL);
    while (!m_exited) {
        const pid_t done = ::waitpid(m_pid, &m_status, 0);
        m_exited = done == m_pid || (done < 0 && errno != EINTR);
    }
}
