#include "lookup/downloadmanager.h"

#include "lookup/downloadbatch.h"
#include "lookup/downloadmanageradvisor.h"
#include "lookup/downloadoperation.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

namespace {

QMutex defaultLimitsMutex;
DownloadLimits defaultLimitsValue;

// An entry of the context list that stands for "no context".
bool isNullMarker(const QVariant &entry)
{
    return !entry.isValid() || entry.metaType() == QMetaType::fromType<std::nullptr_t>();
}

// Ends the batches of the main thread while the application object is whole: once it has
// gone, the network client leaves parts of an aborted transfer behind.
void endApplicationBatches()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (application == nullptr)
        return;
    for (DownloadBatch *batch : application->findChildren<DownloadBatch *>(Qt::FindDirectChildrenOnly))
        delete batch;
}

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

// A running batch holds its manager, so the batch has ended (or is being deleted) here.
DownloadManager::~DownloadManager() = default;

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

    if (m_urlStrings.isEmpty()) {
        // The advisor may drop its reference to this manager inside trackCompletion().
        const std::shared_ptr<DownloadManager> self = shared_from_this();
        if (m_advisor != nullptr)
            m_advisor->trackCompletion();
        return;
    }
    QCoreApplication *application = QCoreApplication::instance();
    Q_ASSERT(application != nullptr);
    // A batch of the main thread ends with the application object at the latest.
    QObject *parent = application != nullptr && application->thread() == QThread::currentThread()
                          ? application
                          : nullptr;
    if (parent != nullptr) {
        qRemovePostRoutine(&endApplicationBatches);
        qAddPostRoutine(&endApplicationBatches);
    }

    const double t0 = DownloadOperation::now();
    auto *batch = new DownloadBatch(shared_from_this(), RequestProfile::current(m_limits), parent);
    for (qsizetype i = 0; i < m_urlStrings.size(); ++i) {
        QVariant context;
        if (m_context && i < m_context->size() && !isNullMarker(m_context->at(i)))
            context = m_context->at(i);
        const double startTime = m_throttle != 0 ? t0 + double(i) * m_throttle : 0;
        batch->addOperation(
            new DownloadOperation(m_urlStrings.at(i), context, startTime, double(m_threads)));
    }
    m_operationCount = quint64(m_urlStrings.size());
    m_batch = batch;
    batch->run();
}

void DownloadManager::stop()
{
    m_advisor = nullptr;
    if (DownloadBatch *batch = m_batch) {
        // The batch's reference may be the last one: this manager ends when it goes.
        const std::shared_ptr<DownloadManager> released = batch->abandon();
    }
}
