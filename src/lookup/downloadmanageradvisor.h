#pragma once

#include <QtGlobal>

class DownloadOperation;

// The consumer of a download batch (DownloadManager). Every call arrives on the thread that
// started the batch, from its event loop, one at a time. The consumer may drop its reference to
// the manager, or stop() it, inside any call.
class DownloadManagerAdvisor {
public:
    virtual ~DownloadManagerAdvisor() = default;

    // The number of requests of the batch not yet finished (running or waiting).
    virtual void trackProgress(quint64 remaining) = 0;
    // True when the user has asked to stop the batch. Asked about once a second, and once more
    // before the hand-over.
    virtual bool shallCancel() = 0;
    // The batch was stopped; nothing of it will be handed over.
    virtual void cancel() = 0;
    // One finished request, handed over in list order after the whole batch has finished. The
    // operation is valid only during the call.
    virtual void processDownload(const DownloadOperation &download) = 0;
    // The batch is done and every request has been handed over. For an empty batch this is
    // called from within startDownload().
    virtual void trackCompletion() = 0;
};
