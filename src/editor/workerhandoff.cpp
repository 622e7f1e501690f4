#include "editor/workerhandoff.h"

WorkerHandoff::WorkerHandoff(std::function<void()> handler, std::chrono::milliseconds interval)
    : m_handler(std::move(handler))
    , m_interval(interval)
{
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, [this] { deliver(); });
}

void WorkerHandoff::wake()
{
    if (!m_pending.exchange(true))
        post();
}

void WorkerHandoff::wakeNow()
{
    m_urgent = true;
    // Posted even when a run is pending already: it may be waiting out the interval.
    m_pending = true;
    post();
}

void WorkerHandoff::post()
{
    QMetaObject::invokeMethod(this, [this] { deliver(); }, Qt::QueuedConnection);
}

void WorkerHandoff::deliver()
{
    if (!m_pending)
        return;
    if (!m_urgent && m_sinceLastRun.isValid()) {
        const auto waited = std::chrono::milliseconds(m_sinceLastRun.elapsed());
        if (waited < m_interval) {
            if (!m_delay.isActive())
                m_delay.start(m_interval - waited);
            return;
        }
    }
    m_delay.stop();
    // Cleared first: what a worker adds while the handler runs asks for another run.
    m_pending = false;
    m_urgent = false;
    m_sinceLastRun.start();
    m_handler();
}
