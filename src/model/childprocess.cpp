#include "model/childprocess.h"

#include "model/systemerror.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

extern char **environ;

namespace {

// How much of the end of the error output is read for its last line.
constexpr qint64 ErrorTailBytes = 4096;

// Owns what posix_spawnp() is given, so that every way out of start() frees it.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    bool actionsMade = false;
    bool attributesMade = false;

    ~SpawnSetup()
    {
        if (actionsMade)
            posix_spawn_file_actions_destroy(&actions);
        if (attributesMade)
            posix_spawnattr_destroy(&attributes);
    }

    // The child's input and output /dev/null, its error output errorFd, nothing else open; its
    // own process group, no signal blocked or ignored.
    int prepare(int errorFd)
    {
        int error = posix_spawn_file_actions_init(&actions);
        actionsMade = error == 0;
        if (error == 0)
            error = posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        if (error == 0)
            error = posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        if (error == 0)
            error = posix_spawn_file_actions_adddup2(&actions, errorFd, STDERR_FILENO);
        if (error == 0)
            error = posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
        if (error == 0) {
            error = posix_spawnattr_init(&attributes);
            attributesMade = error == 0;
        }
        sigset_t none;
        sigset_t all;
        if (error == 0 && (sigemptyset(&none) != 0 || sigfillset(&all) != 0))
            error = errno;
        if (error == 0)
            error = posix_spawnattr_setsigmask(&attributes, &none);
        if (error == 0)
            error = posix_spawnattr_setsigdefault(&attributes, &all);
        if (error == 0)
            error = posix_spawnattr_setpgroup(&attributes, 0);
        if (error == 0)
            error = posix_spawnattr_setflags(&attributes,
                                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        return error;
    }
};

QString lastLine(const QByteArray &output)
{
    const QStringList lines = QString::fromLocal8Bit(output).split(u'\n', Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QString trimmed = line->trimmed();
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return QString();
}

} // namespace

ChildProcess::ChildProcess(pid_t pid, int errorFd)
    : m_pid(pid)
    , m_errorFd(errorFd)
{
}

ChildProcess::ChildProcess(ChildProcess &&other) noexcept
    : m_pid(other.m_pid)
    , m_errorFd(std::exchange(other.m_errorFd, -1))
    , m_exitCode(other.m_exitCode)
    , m_ended(other.m_ended)
{
}

ChildProcess::~ChildProcess()
{
    // Only read from: a failed close loses nothing.
    if (m_errorFd >= 0)
        ::close(m_errorFd);
}

Result<ChildProcess> ChildProcess::start(const QString &program, const QStringList &arguments)
{
    QByteArray errorPath = QFile::encodeName(QDir::tempPath()) + "/quorl-errors-XXXXXX";
    const int errorFd = ::mkostemp(errorPath.data(), O_CLOEXEC);
    if (errorFd < 0)
        return systemError(errno, errorPath, "mkostemp");
    ChildProcess child(0, errorFd);
    if (::unlink(errorPath.constData()) != 0)
        return systemError(errno, errorPath, "unlink");

    const QByteArray file = QFile::encodeName(program);
    std::vector<QByteArray> words{file};
    for (const QString &argument : arguments)
        words.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    argv.reserve(words.size() + 1);
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    SpawnSetup setup;
    int error = setup.prepare(errorFd);
    if (error != 0)
        return systemError(error, file, "posix_spawn setup");
    error = posix_spawnp(&child.m_pid, file.constData(), &setup.actions, &setup.attributes, argv.data(), environ);
    if (error != 0)
        return systemError(error, file, "posix_spawnp");
    return Result<ChildProcess>(std::move(child));
}

Result<ChildProcess::State> ChildProcess::wait(const QDeadlineTimer &deadline, const std::atomic<bool> &stop)
{
    while (m_ended == State::Running) {
        int status = 0;
        const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended < 0 && errno != EINTR)
            return systemError(errno, QByteArray::number(m_pid), "waitpid");
        if (ended == m_pid && WIFEXITED(status)) {
            m_exitCode = WEXITSTATUS(status);
            m_ended = State::Exited;
        } else if (ended == m_pid && WIFSIGNALED(status)) {
            m_ended = State::Crashed;
        } else if (stop.load() || deadline.hasExpired()) {
            break;
        } else {
            const qint64 left = deadline.isForever() ? PollIntervalMs : std::max<qint64>(deadline.remainingTime(), 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min<qint64>(left, PollIntervalMs)));
        }
    }
    return m_ended;
}

Result<QString> ChildProcess::lastErrorLine() const
{
    struct stat info {};
    if (::fstat(m_errorFd, &info) != 0)
        return systemError(errno, QByteArray::number(m_pid), "fstat of the error output");
    const qint64 from = std::max<qint64>(0, qint64(info.st_size) - ErrorTailBytes);
    QByteArray tail(qsizetype(info.st_size - from), '\0');
    const ssize_t read = ::pread(m_errorFd, tail.data(), size_t(tail.size()), off_t(from));
    if (read < 0)
        return systemError(errno, QByteArray::number(m_pid), "pread of the error output");
    tail.truncate(qsizetype(read));
    return lastLine(tail);
}

QList<qint64> ChildProcess::reapEnded(const QList<qint64> &pids)
{
    QList<qint64> running;
    for (const qint64 pid : pids) {
        int status = 0;
        pid_t ended;
        do
            ended = ::waitpid(pid_t(pid), &status, WNOHANG);
        while (ended < 0 && errno == EINTR);
        // 0: still running; the pid: reaped now; ECHILD: not a child of ours (any more).
        if (ended == 0)
            running.append(pid);
    }
    return running;
}
