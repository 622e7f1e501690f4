#include "downloadrecorder.h"

#include "httptestserver.h"

#include <QTest>
#include <QThread>

using namespace std::chrono_literals;

QByteArray HandedDownload::header(const QByteArray &name) const
{
    for (const auto &[headerName, value] : headers) {
        if (headerName == name)
            return value;
    }
    return {};
}

void DownloadRecorder::trackProgress(quint64 remaining)
{
    progress.append(remaining);
    progressThreads.insert(QThread::currentThread());
    events.append(QStringLiteral("progress"));
}

void DownloadRecorder::cancel()
{
    ++cancels;
    cancelThread = QThread::currentThread();
    events.append(QStringLiteral("cancel"));
}

void DownloadRecorder::processDownload(const DownloadOperation &download)
{
    handed.append(HandedDownload{download.url().toString(), download.statusCode(), download.data(),
                                 download.error(), download.responseHeaders(), download.context(),
                                 QThread::currentThread()});
    events.append(QStringLiteral("download"));
}

void DownloadRecorder::trackCompletion()
{
    ++completions;
    completionThread = QThread::currentThread();
    completedAtMs = HttpTestServer::nowMs();
    events.append(QStringLiteral("completion"));
}

bool DownloadRecorder::ended() const
{
    return completions + cancels > 0;
}

bool DownloadRecorder::waitForEnd(int timeoutMs) const
{
    return QTest::qWaitFor([this] { return ended(); }, timeoutMs);
}

QStringList DownloadRecorder::outcome() const
{
    QStringList result = events;
    result.removeAll(QStringLiteral("progress"));
    return result;
}

QStringList DownloadRecorder::handedUrls() const
{
    QStringList urls;
    for (const HandedDownload &download : handed)
        urls.append(download.url);
    return urls;
}

DownloadLimits quickDownloadLimits()
{
    DownloadLimits limits;
    limits.pollInterval = 100ms;
    limits.stallTimeout = 10s;
    return limits;
}
