#pragma once

#include "lookup/requestprofile.h"

#include <QMutex>
#include <QStringList>
#include <QVariantList>

#include <atomic>
#include <memory>
#include <optional>

class DownloadBatch;
class DownloadManagerAdvisor;
class QThread;

// Runs one batch of GET requests and hands every finished request to its advisor.
//
// At most `threads` requests are in flight. With a `throttle` t > 0, request i goes out no
// earlier than t0 + i·t and keeps its slot until t0 + i·t + threads seconds at the least. The
// batch runs on a thread of its own, which reports progress to the main thread at once and then
// every poll interval, asks the advisor there whether to stop, and once every request has
// finished hands them over in the order of the URL list, then posts the completion to the main
// thread. The hand-over follows the last transfer at once; nothing waits for the next poll.
//
// Make one with create() and keep the shared pointer; the running batch keeps the manager alive
// until it has ended, so the consumer may drop its pointer at any time, also inside any advisor
// call. The last reference may go away on any thread, the batch's own included: a manager never
// waits for its own thread and never deletes a thread that still runs. A QCoreApplication must
// exist while a batch runs; when it ends, every running batch is stopped as by stop() first.
class DownloadManager : public std::enable_shared_from_this<DownloadManager> {
public:
    // The urlStrings are fetched one request each; context, when present, is index-aligned with
    // them and an invalid QVariant entry means "no context". Starts nothing.
    static std::shared_ptr<DownloadManager> create(const QStringList &urlStrings,
                                                   const std::optional<QVariantList> &context,
                                                   DownloadManagerAdvisor *advisor,
                                                   quint64 threads, double throttle);
    ~DownloadManager();
    DownloadManager(const DownloadManager &) = delete;
    DownloadManager &operator=(const DownloadManager &) = delete;

    // The intervals and limits of batches started from now on, process-wide (tests shorten them).
    static DownloadLimits defaultLimits();
    static void setDefaultLimits(const DownloadLimits &limits);
    // The limits of this manager's batch; set before startDownload().
    const DownloadLimits &limits() const { return m_limits; }
    void setLimits(const DownloadLimits &limits) { m_limits = limits; }

    // Queues the requests and returns. An empty batch calls trackCompletion() from here.
    // A manager runs one batch; later calls do nothing.
    void startDownload();

    // Ends a running batch without any further advisor call and waits until its thread has
    // ended. For an advisor that is going away: the batch calls its advisor until it ends, also
    // when nobody else holds the manager. Called from within an advisor call on the batch's
    // thread it only silences the advisor.
    void stop();

    const QStringList &urlStrings() const { return m_urlStrings; }
    const std::optional<QVariantList> &context() const { return m_context; }
    DownloadManagerAdvisor *advisor() const { return m_advisor.load(); }
    quint64 threads() const { return m_threads; }
    double throttle() const { return m_throttle; }
    // The requests of the batch not yet finished.
    quint64 operationCount() const { return m_operationCount.load(); }

private:
    friend class DownloadBatch;

    DownloadManager(const QStringList &urlStrings, const std::optional<QVariantList> &context,
                    DownloadManagerAdvisor *advisor, quint64 threads, double throttle);

    QStringList m_urlStrings;
    std::optional<QVariantList> m_context;
    std::atomic<DownloadManagerAdvisor *> m_advisor;
    quint64 m_threads;
    double m_throttle;
    DownloadLimits m_limits;
    std::atomic<quint64> m_operationCount{0};
    bool m_started = false;
    std::unique_ptr<QThread> m_thread;
    // The running batch; cleared by the batch when it ends, before it can be deleted.
    QMutex m_batchMutex;
    DownloadBatch *m_batch = nullptr;
};
