#include "interruptwatch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The handler touches only these: lock-free atomics and plain system calls.
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

std::atomic<bool> stopRequested{false};
std::atomic<int> firstSignal{0};
// The signals the handler is installed for, to give them their default dispositions back.
constexpr int MaxWatched = 4;
std::atomic<int> watchedSignals[MaxWatched] = {};

// The self-pipe: the handler writes a byte, the main thread's event loop watches the other end.
// Made once, kept for the life of the process.
int signalPipe[2] = {-1, -1};

extern "C" void onWatchedSignal(int signalNumber)
{
    const int saved = errno;
    int none = 0;
    firstSignal.compare_exchange_strong(none, signalNumber);
    stopRequested.store(true);
    for (const std::atomic<int> &watched : watchedSignals) {
        const int number = watched.load();
        if (number == 0)
            continue;
        struct sigaction byDefault = {};
        byDefault.sa_handler = SIG_DFL;
        sigemptyset(&byDefault.sa_mask);
        ::sigaction(number, &byDefault, nullptr);
    }
    if (signalPipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    }
    errno = saved;
}

bool makeSignalPipe()
{
    if (signalPipe[0] >= 0)
        return true;
    return ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0;
}

void drainSignalPipe()
{
    char bytes[64];
    while (signalPipe[0] >= 0 && ::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
}

} // namespace

InterruptWatch::InterruptWatch(QList<int> signalNumbers, std::function<void()> onSignal)
    : m_onSignal(std::move(onSignal))
{
    Q_ASSERT(signalNumbers.size() <= MaxWatched);
    for (const int number : signalNumbers)
        m_watched.append(Watched{number, {}, false});
}

InterruptWatch::~InterruptWatch()
{
    disarm();
}

const std::atomic<bool> &InterruptWatch::stopFlag() const
{
    return stopRequested;
}

int InterruptWatch::caughtSignal() const
{
    return firstSignal.load();
}

void InterruptWatch::arm()
{
    if (m_armed)
        return;
    stopRequested = false;
    firstSignal = 0;
    if (m_onSignal) {
        if (!makeSignalPipe())
            return;
        drainSignalPipe();
        if (!m_notifier) {
            m_notifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
            QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
                drainSignalPipe();
                if (m_armed)
                    m_onSignal();
            });
        }
        m_notifier->setEnabled(true);
    }
    for (qsizetype i = 0; i < m_watched.size(); ++i) {
        Watched &watched = m_watched[i];
        struct sigaction current = {};
        if (::sigaction(watched.number, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            continue;
        watchedSignals[i] = watched.number;
        struct sigaction handler = {};
        handler.sa_handler = &onWatchedSignal;
        sigemptyset(&handler.sa_mask);
        // While one watched signal is handled the others wait, so the first one decides.
        for (const Watched &other : std::as_const(m_watched))
            sigaddset(&handler.sa_mask, other.number);
        handler.sa_flags = SA_RESETHAND | SA_RESTART;
        watched.installed = ::sigaction(watched.number, &handler, &watched.previous) == 0;
        if (!watched.installed)
            watchedSignals[i] = 0;
    }
    m_armed = true;
}

void InterruptWatch::disarm()
{
    if (!m_armed)
        return;
    m_armed = false;
    if (m_notifier)
        m_notifier->setEnabled(false);
    for (qsizetype i = 0; i < m_watched.size(); ++i) {
        Watched &watched = m_watched[i];
        watchedSignals[i] = 0;
        if (watched.installed)
            ::sigaction(watched.number, &watched.previous, nullptr);
        watched.installed = false;
    }
}
