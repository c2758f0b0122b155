#include "cliprocess.h"

#include "atomicfile.h"
#include "strayprocesses.h"
#include "toolprocess.h"

#include <csignal>
#include <unistd.h>

namespace {

constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void stop(int signal)
{
    ToolProcess::abandonRunning();
    abandonTemporaryFile();
    _exit(128 + signal);
}

void stopOn(int signal)
{
    struct sigaction action {};
    if (sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN)
        return;
    action = {};
    action.sa_handler = stop;
    sigemptyset(&action.sa_mask);
    for (const int other : stopSignals)
        sigaddset(&action.sa_mask, other);
    sigaction(signal, &action, nullptr);
}

} // namespace

void prepareCliProcess()
{
    std::signal(SIGXFSZ, SIG_IGN);
    StrayProcesses::adopt();
    for (const int signal : stopSignals)
        stopOn(signal);
}
