#pragma once

#include <QtGlobal>

class DownloadOperation;

// The consumer of a download batch (DownloadManager). Each call arrives on a fixed thread:
// trackProgress() and trackCompletion() on the main thread; processDownload() and cancel() on
// the batch's own thread, one at a time; shallCancel() on either.
class DownloadManagerAdvisor {
public:
    virtual ~DownloadManagerAdvisor() = default;

    // The number of requests of the batch not yet finished (running or waiting).
    virtual void trackProgress(quint64 remaining) = 0;
    // True when the user has asked to stop the batch. Polled about once a second.
    virtual bool shallCancel() = 0;
    // The batch was stopped; nothing of it will be handed over.
    virtual void cancel() = 0;
    // One finished request, handed over in list order after the whole batch has finished. The
    // operation is valid only during the call.
    virtual void processDownload(const DownloadOperation &download) = 0;
    // The batch is done and every request has been handed over. For an empty batch this is
    // called from within startDownload(), on the caller's thread.
    virtual void trackCompletion() = 0;
};
