#pragma once

#include "lookup/requestprofile.h"

#include <QPointer>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <optional>

class DownloadBatch;
class DownloadManagerAdvisor;

// Runs one batch of GET requests and hands every finished request to its advisor.
//
// At most `threads` requests are in flight. With a `throttle` t > 0, request i goes out no
// earlier than t0 + i·t and keeps its slot until t0 + i·t + threads seconds at the least. The
// batch runs on the event loop of the thread that starts it; the transfers do not block it. It
// reports progress at once and then every poll interval, asking the advisor each time whether to
// stop, and once every request has finished hands them over in the order of the URL list and
// completes. The hand-over follows the last transfer at once; nothing waits for the next poll.
//
// Make one with create() and keep the shared pointer; the running batch keeps the manager alive
// until it has ended, so the consumer may drop its pointer at any time, also inside any advisor
// call. Use a manager on the thread that started it only; that thread must run its event loop
// until the batch ends. A batch of the main thread still running when the application object
// ends is ended with it, without any advisor call.
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

    // Ends a running batch at once, without any further advisor call; its transfers are
    // aborted. For an advisor that is going away: the batch calls its advisor until it ends,
    // also when nobody else holds the manager. May be called inside an advisor call.
    void stop();

    const QStringList &urlStrings() const { return m_urlStrings; }
    const std::optional<QVariantList> &context() const { return m_context; }
    DownloadManagerAdvisor *advisor() const { return m_advisor; }
    quint64 threads() const { return m_threads; }
    double throttle() const { return m_throttle; }
    // The requests of the batch not yet finished.
    quint64 operationCount() const { return m_operationCount; }

private:
    friend class DownloadBatch;

    DownloadManager(const QStringList &urlStrings, const std::optional<QVariantList> &context,
                    DownloadManagerAdvisor *advisor, quint64 threads, double throttle);

    QStringList m_urlStrings;
    std::optional<QVariantList> m_context;
    DownloadManagerAdvisor *m_advisor;
    quint64 m_threads;
    double m_throttle;
    DownloadLimits m_limits;
    quint64 m_operationCount = 0;
    bool m_started = false;
    // The running batch; it deletes itself once it has ended.
    QPointer<DownloadBatch> m_batch;
};
