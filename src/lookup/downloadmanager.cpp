#include "lookup/downloadmanager.h"

#include "lookup/downloadbatch.h"
#include "lookup/downloadmanageradvisor.h"
#include "lookup/downloadoperation.h"

#include <QCoreApplication>
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
    if (m_thread) {
        m_thread->quit();
        m_thread->wait();
    }
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
