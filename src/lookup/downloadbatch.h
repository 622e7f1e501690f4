#pragma once

#include "lookup/requestprofile.h"

#include <QObject>

#include <memory>
#include <vector>

class DownloadManager;
class DownloadManagerAdvisor;
class DownloadOperation;
class QNetworkAccessManager;
class QTimer;

// The running part of a DownloadManager: the queue that starts at most `threads` operations at
// a time, and the monitor that reports progress, polls for cancellation and hands the finished
// operations over. Lives on the batch's own thread and is deleted when that thread ends. Holds
// the manager until the batch has ended, then passes that reference to the main thread.
class DownloadBatch : public QObject {
    Q_OBJECT

public:
    DownloadBatch(std::shared_ptr<DownloadManager> manager, RequestProfile profile);
    ~DownloadBatch() override;

    // Takes the operation as a child; call before the batch moves to its thread.
    void addOperation(DownloadOperation *operation);

    // Starts the batch; batch thread.
    void run();
    // Ends the batch without any advisor call; batch thread.
    void abandon();

private:
    DownloadManagerAdvisor *advisor() const;
    void fillSlots();
    void operationFinished();
    void poll();
    void postProgress();
    void complete();
    void cancelBatch();
    void cancelOperations();
    void end(bool completed);

    std::shared_ptr<DownloadManager> m_manager;
    RequestProfile m_profile;
    std::vector<DownloadOperation *> m_operations;
    QNetworkAccessManager *m_network = nullptr;
    QTimer *m_pollTimer = nullptr;
    std::size_t m_next = 0;
    quint64 m_running = 0;
    quint64 m_slots = 1;
    bool m_ended = false;
};
