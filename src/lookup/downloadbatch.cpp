#include "lookup/downloadbatch.h"

#include "lookup/downloadmanager.h"
#include "lookup/downloadmanageradvisor.h"
#include "lookup/downloadoperation.h"

#include <QNetworkAccessManager>
#include <QPointer>
#include <QTimer>

#include <algorithm>

DownloadBatch::DownloadBatch(std::shared_ptr<DownloadManager> manager, RequestProfile profile,
                             QObject *parent)
    : QObject(parent)
    , m_manager(std::move(manager))
    , m_profile(std::move(profile))
    , m_pollTimer(new QTimer(this))
{
    m_slots = std::max<quint64>(1, m_manager->threads());
    m_pollTimer->setInterval(m_profile.limits.pollInterval);
    connect(m_pollTimer, &QTimer::timeout, this, &DownloadBatch::poll);
}

DownloadBatch::~DownloadBatch()
{
    // Before the client: an operation still holding a transfer aborts it when deleted, and the
    // transfers belong to the client.
    qDeleteAll(m_operations);
}

void DownloadBatch::addOperation(DownloadOperation *operation)
{
    operation->setParent(this);
    m_operations.push_back(operation);
}

void DownloadBatch::run()
{
    m_network = new QNetworkAccessManager(this);
    for (DownloadOperation *operation : m_operations) {
        operation->setNetwork(m_network, m_profile);
        // Queued, so that an operation that ends inside start() does not re-enter fillSlots(),
        // and the advisor is called from the event loop, never from inside a transfer's signal.
        connect(operation, &DownloadOperation::finished, this, &DownloadBatch::operationFinished,
                Qt::QueuedConnection);
    }
    // The first report as soon as the caller is back in the event loop, then one per interval.
    QMetaObject::invokeMethod(this, &DownloadBatch::poll, Qt::QueuedConnection);
    m_pollTimer->start();
    fillSlots();
}

void DownloadBatch::fillSlots()
{
    while (!m_ended && m_running < m_slots && m_next < m_operations.size()) {
        ++m_running;
        m_operations[m_next++]->start();
    }
}

void DownloadBatch::operationFinished()
{
    if (m_ended)
        return;
    --m_running;
    if (--m_manager->m_operationCount == 0)
        complete();
    else
        fillSlots();
}

void DownloadBatch::poll()
{
    if (m_ended)
        return;
    // The advisor may let go of the manager, or stop it, inside any of its calls.
    const std::shared_ptr<DownloadManager> manager = m_manager;
    DownloadManagerAdvisor *consumer = manager->advisor();
    if (consumer == nullptr)
        return;
    const QPointer<DownloadBatch> guard(this);
    const bool stopRequested = consumer->shallCancel();
    if (!guard || m_ended)
        return;
    if (stopRequested)
        cancelBatch();
    else
        consumer->trackProgress(manager->operationCount());
}

void DownloadBatch::complete()
{
    m_pollTimer->stop();
    const std::shared_ptr<DownloadManager> manager = m_manager;
    const QPointer<DownloadBatch> guard(this);
    if (DownloadManagerAdvisor *consumer = manager->advisor()) {
        const bool stopRequested = consumer->shallCancel();
        if (!guard || m_ended)
            return;
        if (stopRequested) {
            cancelBatch();
            return;
        }
    }
    // In list order, whatever order the transfers finished in. A stop() inside a call ends the
    // hand-over there.
    for (std::size_t i = 0; i < m_operations.size(); ++i) {
        DownloadManagerAdvisor *consumer = manager->advisor();
        if (consumer == nullptr)
            break;
        consumer->processDownload(*m_operations[i]);
        if (!guard)
            return;
    }
    if (m_ended)
        return;
    end();
    if (DownloadManagerAdvisor *consumer = manager->advisor())
        consumer->trackCompletion();
}

void DownloadBatch::cancelBatch()
{
    const std::shared_ptr<DownloadManager> manager = end();
    if (DownloadManagerAdvisor *consumer = manager->advisor())
        consumer->cancel();
}

std::shared_ptr<DownloadManager> DownloadBatch::abandon()
{
    if (m_ended)
        return {};
    return end();
}

std::shared_ptr<DownloadManager> DownloadBatch::end()
{
    m_ended = true;
    m_pollTimer->stop();
    for (DownloadOperation *operation : m_operations) {
        QObject::disconnect(operation, nullptr, this, nullptr);
        if (!operation->isFinished())
            operation->cancel();
    }
    std::shared_ptr<DownloadManager> manager = std::move(m_manager);
    manager->m_batch = nullptr;
    // Not at once: this may run inside an advisor call, a timer's signal or a slot of the batch.
    deleteLater();
    return manager;
}
