#pragma once

#include "lookup/downloadmanageradvisor.h"
#include "lookup/downloadoperation.h"
#include "lookup/requestprofile.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <QVariant>

#include <optional>

class QThread;

// What a DownloadRecorder saw of one handed-over request.
struct HandedDownload {
    QString url;
    qint64 statusCode = 0;
    QByteArray data;
    std::optional<DownloadError> error;
    QList<QNetworkReply::RawHeaderPair> headers;
    QVariant context;
    QThread *thread = nullptr;

    // The value of a response header by its exact name; empty when absent.
    QByteArray header(const QByteArray &name) const;
};

// A download advisor that records every call with its thread. shallCancel() answers
// stopRequested. Read the fields once ended() is true.
class DownloadRecorder : public DownloadManagerAdvisor {
public:
    void trackProgress(quint64 remaining) override;
    bool shallCancel() override { return stopRequested; }
    void cancel() override;
    void processDownload(const DownloadOperation &download) override;
    void trackCompletion() override;

    // True once trackCompletion() or cancel() has been called.
    bool ended() const;
    // Runs the caller's event loop until ended() or the timeout.
    bool waitForEnd(int timeoutMs = 20000) const;
    // The calls other than progress reports, in order: "download", "completion", "cancel".
    QStringList outcome() const;
    QStringList handedUrls() const;

    bool stopRequested = false;
    QList<quint64> progress;
    QSet<QThread *> progressThreads;
    QList<HandedDownload> handed;
    QStringList events;
    int cancels = 0;
    int completions = 0;
    QThread *cancelThread = nullptr;
    QThread *completionThread = nullptr;
    // HttpTestServer::nowMs() at the completion.
    qint64 completedAtMs = 0;
};

// Intervals for tests: progress polled every 100 ms, transfers stall after 10 s.
DownloadLimits quickDownloadLimits();
