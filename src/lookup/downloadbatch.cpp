#include "lookup/downloadbatch.h"

#include "lookup/downloadmanager.h"
#include "lookup/downloadmanageradvisor.h"
#include "lookup/downloadoperation.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QNetworkAccessManager>
#include <QThread>
#include <QTimer>

#include <algorithm>

DownloadBatch::DownloadBatch(std::shared_ptr<DownloadManager> manager, RequestProfile profile)
    : m_manager(std::move(manager))
    , m_profile(std::move(profile))
    , m_pollTimer(new QTimer(this))
{
    m_slots = std::max<quint64>(1, m_manager->threads());
    m_pollTimer->setInterval(m_profile.limits.pollInterval);
    connect(m_pollTimer, &QTimer::timeout, this, &DownloadBatch::poll);
}

DownloadBatch::~DownloadBatch() = default;

void DownloadBatch::addOperation(DownloadOperation *operation)
{
    operation->setParent(this);
    m_operations.push_back(operation);
}

DownloadManagerAdvisor *DownloadBatch::advisor() const
{
    return m_manager ? m_manager->advisor() : nullptr;
}

void DownloadBatch::run()
{
    m_network = new QNetworkAccessManager(this);
    for (DownloadOperation *operation : m_operations) {
        operation->setNetwork(m_network, m_profile);
        // Queued, so that an operation that ends inside start() does not re-enter fillSlots().
        connect(operation, &DownloadOperation::finished, this, &DownloadBatch::operationFinished,
                Qt::QueuedConnection);
    }
    postProgress();
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
    DownloadManagerAdvisor *consumer = advisor();
    if (consumer != nullptr && consumer->shallCancel()) {
        cancelBatch();
        return;
    }
    postProgress();
}

void DownloadBatch::postProgress()
{
    const quint64 remaining = m_manager->operationCount();
    std::weak_ptr<DownloadManager> weak = m_manager;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [weak, remaining] {
            const std::shared_ptr<DownloadManager> manager = weak.lock();
            DownloadManagerAdvisor *consumer = manager ? manager->advisor() : nullptr;
            if (consumer != nullptr && !consumer->shallCancel())
                consumer->trackProgress(remaining);
        },
        Qt::QueuedConnection);
}

void DownloadBatch::complete()
{
    m_pollTimer->stop();
    DownloadManagerAdvisor *consumer = advisor();
    if (consumer != nullptr && consumer->shallCancel()) {
        cancelBatch();
        return;
    }
    // In list order, whatever order the transfers finished in.
    for (const DownloadOperation *operation : m_operations) {
        if (DownloadManagerAdvisor *current = advisor())
            current->processDownload(*operation);
    }
    end(true);
}

void DownloadBatch::cancelBatch()
{
    cancelOperations();
    if (DownloadManagerAdvisor *consumer = advisor())
        consumer->cancel();
    end(false);
}

void DownloadBatch::abandon()
{
    if (m_ended)
        return;
    cancelOperations();
    end(false);
}

void DownloadBatch::cancelOperations()
{
    m_pollTimer->stop();
    for (DownloadOperation *operation : m_operations) {
        QObject::disconnect(operation, nullptr, this, nullptr);
        operation->cancel();
    }
}

void DownloadBatch::end(bool completed)
{
    m_ended = true;
    m_pollTimer->stop();
    // The operations' transfers belong to the client, so they go first.
    qDeleteAll(m_operations);
    m_operations.clear();
    delete m_network;
    m_network = nullptr;

    std::shared_ptr<DownloadManager> manager = std::move(m_manager);
    {
        QMutexLocker locker(&manager->m_batchMutex);
        manager->m_batch = nullptr;
    }
    thread()->quit();
    // The completion goes to the main thread with the reference to the manager. The application
    // object is there: one that ends stops its running batches first. Should the posted call
    // never run, the manager may still end wherever the call is destroyed; it copes with that.
    QCoreApplication *application = QCoreApplication::instance();
    if (application == nullptr)
        return;
    QMetaObject::invokeMethod(
        application,
        [manager = std::move(manager), completed] {
            DownloadManagerAdvisor *consumer = manager->advisor();
            if (completed && consumer != nullptr)
                consumer->trackCompletion();
        },
        Qt::QueuedConnection);
}
