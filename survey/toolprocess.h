#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <sys/types.h>

// A child program in a process group of its own, its standard output a pipe
// that we read and its standard input and error ours. The group lets us stop
// the program together with whatever it left running in the background.
// A process still running when this object goes is killed with its group,
// and so is what StrayProcesses finds of it.
class ToolProcess
{
public:
    ToolProcess() = default;
    ToolProcess(const ToolProcess &) = delete;
    ToolProcess &operator=(const ToolProcess &) = delete;
    ~ToolProcess();

    // False, with *error the system's reason, when the program cannot start.
    bool start(const QString &program, const QStringList &arguments, QString *error);

    enum class Read { More, EndOfFile, Failed };
    // Waits at most `wait` for output and appends what has come to `output`.
    Read readSome(QByteArray &output, std::chrono::milliseconds wait);
    // Waits at most `wait` for the program to exit; true once it has.
    bool waitForExit(std::chrono::milliseconds wait);
    // SIGKILL to the whole group, then waits for the program itself.
    void killGroup();
    // The status as waitpid() gave it, once the program has exited.
    int waitStatus() const { return m_status; }
    // Kills the group of the program running now, if any, and the strays:
    // for a signal handler that ends the process. Async-signal-safe.
    static void abandonRunning();

private:
    pid_t m_pid = -1;
    int m_output = -1;
    bool m_exited = false;
    int m_status = 0;
};
