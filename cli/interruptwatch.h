#pragma once

#include <QList>

#include <atomic>
#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

// Catches SIGINT (and SIGTERM where asked) while armed, so that the tool can end what it is doing
// in good order. The first signal sets stopFlag() from the handler itself (the core polls it on
// any thread; no event loop is needed) and, where an event loop runs, calls back on the main
// thread. The handler gives every watched signal its default disposition back, so that a second
// one ends the process at once. Disarmed, the signals have their former dispositions again. A
// signal that was ignored stays ignored (a job started in the background). One watch is armed
// at a time.
class InterruptWatch {
public:
    explicit InterruptWatch(QList<int> signalNumbers, std::function<void()> onSignal = {});
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch &) = delete;
    InterruptWatch &operator=(const InterruptWatch &) = delete;

    // Clears what an earlier arming caught.
    void arm();
    void disarm();

    // Set by the first signal caught since arm().
    const std::atomic<bool> &stopFlag() const;
    // The first signal caught since arm(), or 0.
    int caughtSignal() const;

private:
    struct Watched {
        int number;
        struct sigaction previous;
        bool installed;
    };

    QList<Watched> m_watched;
    std::function<void()> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_armed = false;
};
