#pragma once

#include "model/result.h"

#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <sys/types.h>

// A program started without a shell that may be left running: unlike QProcess, which kills its
// program when it goes away, nothing here ever signals the program. Its input and output are
// /dev/null, its error output an unlinked temporary file (not a pipe, so that a program left
// running never meets a closed reader), and it gets a process group of its own.
//
// A program left running stays this process's child: it is to be reaped later with reapEnded().
// Until then, once it has ended, it remains a zombie; that is harmless and ends with this
// process at the latest.
class ChildProcess {
public:
    enum class State {
        Running,
        Exited,
        // Ended by a signal.
        Crashed,
    };

    // Starts the program (looked up in PATH when it holds no slash) with the arguments. The
    // error is NotFound for a missing program, Unwritable for one that may not be run or any
    // other failure of the system.
    static Result<ChildProcess> start(const QString &program, const QStringList &arguments);

    ChildProcess(ChildProcess &&other) noexcept;
    ChildProcess &operator=(ChildProcess &&other) = delete;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    // Closes this side of the error output; the program is left as it is.
    ~ChildProcess();

    qint64 pid() const { return m_pid; }
    // Waits for the program to end until the deadline passes or stop is set, checking every
    // PollInterval; Running when it has not ended by then.
    Result<State> wait(const QDeadlineTimer &deadline, const std::atomic<bool> &stop);
    // The status the program exited with, once wait() said Exited.
    int exitCode() const { return m_exitCode; }
    // The last non-blank line the program has written to its error output so far.
    Result<QString> lastErrorLine() const;

    // Reaps those of the programs left running that have ended, without waiting; the ones still
    // running are returned (those that are no longer this process's children are dropped).
    static QList<qint64> reapEnded(const QList<qint64> &pids);

    static constexpr int PollIntervalMs = 20;

private:
    ChildProcess(pid_t pid, int errorFd);

    pid_t m_pid;
    int m_errorFd;
    int m_exitCode = 0;
    // Running until wait() has reaped the program.
    State m_ended = State::Running;
};
