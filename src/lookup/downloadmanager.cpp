#include "lookup/downloadmanager.h"

#include "lookup/downloadbatch.h"
#include "lookup/downloadmanageradvisor.h"
#include "lookup/downloadoperation.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>
#include <vector>

namespace {

QMutex defaultLimitsMutex;
DownloadLimits defaultLimitsValue;

// An entry of the context list that stands for "no context".
bool isNullMarker(const QVariant &entry)
{
    return !entry.isValid() || entry.metaType() == QMetaType::fromType<std::nullptr_t>();
}

// The batch threads of the process. Running batches are stopped when the application object
// ends, before it stops taking posted calls, so that no batch outlives it. A thread whose
// manager was destroyed on that very thread cannot be waited for there; it is kept here and
// waited for and deleted from another thread: when the next batch starts, when the application
// object ends, or at the latest when the process exits. It has ended long before.
class BatchThreads {
public:
    static BatchThreads &shared()
    {
        static BatchThreads threads;
        return threads;
    }

    ~BatchThreads() { reap(); }

    void track(const std::weak_ptr<DownloadManager> &manager)
    {
        QMutexLocker locker(&m_mutex);
        m_running.erase(std::remove_if(m_running.begin(), m_running.end(),
                                       [](const auto &entry) { return entry.expired(); }),
                        m_running.end());
        m_running.push_back(manager);
        if (!m_watchingApplication) {
            m_watchingApplication = true;
            qAddPostRoutine(&BatchThreads::applicationEnds);
        }
    }

    void adopt(std::unique_ptr<QThread> thread)
    {
        QMutexLocker locker(&m_mutex);
        m_orphans.push_back(std::move(thread));
    }

    // Waits for and deletes every kept thread but the calling one.
    void reap()
    {
        std::vector<std::unique_ptr<QThread>> ending;
        {
            QMutexLocker locker(&m_mutex);
            for (auto it = m_orphans.begin(); it != m_orphans.end();) {
                if (it->get() == QThread::currentThread()) {
                    ++it;
                    continue;
                }
                ending.push_back(std::move(*it));
                it = m_orphans.erase(it);
            }
        }
        for (const auto &thread : ending)
            thread->wait();
    }

private:
    // Called by the application object's destructor, on the main thread.
    static void applicationEnds()
    {
        BatchThreads &threads = shared();
        std::vector<std::weak_ptr<DownloadManager>> running;
        {
            QMutexLocker locker(&threads.m_mutex);
            running.swap(threads.m_running);
            threads.m_watchingApplication = false;
        }
        for (const auto &entry : running) {
            if (const std::shared_ptr<DownloadManager> manager = entry.lock())
                manager->stop();
        }
        threads.reap();
    }

    QMutex m_mutex;
    std::vector<std::weak_ptr<DownloadManager>> m_running;
    std::vector<std::unique_ptr<QThread>> m_orphans;
    bool m_watchingApplication = false;
};

} // namespace

std::shared_ptr<DownloadManager> DownloadManager::create(const QStringList &urlStrings,
                                                         const std::optional<QVariantList> &context,
                                                         DownloadManagerAdvisor *advisor,
                                                         quint64 threads, double throttle)
{
    return std::shared_ptr<DownloadManager>(
        new DownloadManager(urlStrings, context, advisor, threads, throttle));
}

DownloadManager::DownloadManager(const QStringList &urlStrings,
                                 const std::optional<QVariantList> &context,
                                 DownloadManagerAdvisor *advisor, quint64 threads, double throttle)
    : m_urlStrings(urlStrings)
    , m_context(context)
    , m_advisor(advisor)
    , m_threads(threads)
    , m_throttle(throttle)
    , m_limits(defaultLimits())
{
}

DownloadManager::~DownloadManager()
{
    if (!m_thread)
        return;
    // The batch holds the manager while it runs, so its thread is ending or has ended here.
    if (QThread::currentThread() == m_thread.get()) {
        // The last reference went away on the batch's own thread, which cannot wait for itself.
        BatchThreads::shared().adopt(std::move(m_thread));
        return;
    }
    m_thread->wait();
}

DownloadLimits DownloadManager::defaultLimits()
{
    QMutexLocker locker(&defaultLimitsMutex);
    return defaultLimitsValue;
}

void DownloadManager::setDefaultLimits(const DownloadLimits &limits)
{
    QMutexLocker locker(&defaultLimitsMutex);
    defaultLimitsValue = limits;
}

void DownloadManager::startDownload()
{
    if (m_started)
        return;
    m_started = true;
    // The advisor may drop its reference to this manager inside trackCompletion().
    const std::shared_ptr<DownloadManager> self = shared_from_this();

    // Threads of earlier batches whose managers ended on those threads.
    BatchThreads::shared().reap();

    if (m_urlStrings.isEmpty()) {
        if (DownloadManagerAdvisor *consumer = advisor())
            consumer->trackCompletion();
        return;
    }
    Q_ASSERT(QCoreApplication::instance() != nullptr);

    const double t0 = DownloadOperation::now();
    auto *batch = new DownloadBatch(self, RequestProfile::current(m_limits));
    for (qsizetype i = 0; i < m_urlStrings.size(); ++i) {
        QVariant context;
        if (m_context && i < m_context->size() && !isNullMarker(m_context->at(i)))
            context = m_context->at(i);
        const double startTime = m_throttle != 0 ? t0 + double(i) * m_throttle : 0;
        batch->addOperation(
            new DownloadOperation(m_urlStrings.at(i), context, startTime, double(m_threads)));
    }
    m_operationCount = quint64(m_urlStrings.size());

    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName(QStringLiteral("DownloadBatch"));
    batch->moveToThread(m_thread.get());
    QObject::connect(m_thread.get(), &QThread::started, batch, &DownloadBatch::run);
    QObject::connect(m_thread.get(), &QThread::finished, batch, &QObject::deleteLater);
    {
        QMutexLocker locker(&m_batchMutex);
        m_batch = batch;
    }
    BatchThreads::shared().track(self);
    m_thread->start();
}

void DownloadManager::stop()
{
    m_advisor = nullptr;
    if (!m_thread || QThread::currentThread() == m_thread.get())
        return;
    {
        QMutexLocker locker(&m_batchMutex);
        if (m_batch != nullptr)
            QMetaObject::invokeMethod(m_batch, &DownloadBatch::abandon, Qt::QueuedConnection);
    }
    m_thread->wait();
}
