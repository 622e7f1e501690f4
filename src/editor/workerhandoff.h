#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>

// Brings word from worker threads to the thread that made it. Workers call wake() when they have
// something for it, from any thread and as often as they like; the handler then runs on the
// owner's event loop, once for all the wakes since it last ran, and at most once per interval so
// that results arrive in batches. wakeNow() asks for the handler without that wait (the work has
// ended). Workers must be done calling before it is destroyed.
class WorkerHandoff : public QObject {
public:
    WorkerHandoff(std::function<void()> handler, std::chrono::milliseconds interval);
    WorkerHandoff(const WorkerHandoff &) = delete;
    WorkerHandoff &operator=(const WorkerHandoff &) = delete;

    void wake();
    void wakeNow();

private:
    void post();
    void deliver();

    const std::function<void()> m_handler;
    const std::chrono::milliseconds m_interval;
    std::atomic<bool> m_pending{false};
    std::atomic<bool> m_urgent{false};
    QTimer m_delay;
    QElapsedTimer m_sinceLastRun;
};
