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

// The running part of a DownloadManager, on the event loop of the thread that started it: the
// queue that starts at most `threads` operations at a time, the timer that reports progress and
// asks whether to stop, and the ordered hand-over once the last operation has finished. Holds
// the manager until the batch has ended, then deletes itself with deleteLater(), so that an
// advisor call on the stack never finds it gone.
class DownloadBatch : public QObject {
    Q_OBJECT

public:
    DownloadBatch(std::shared_ptr<DownloadManager> manager, RequestProfile profile,
                  QObject *parent);
    ~DownloadBatch() override;

    // Takes the operation as a child; call before run().
    void addOperation(DownloadOperation *operation);

    // Starts the first operations and the progress reports.
    void run();
    // Ends the batch at once without any advisor call, aborting its transfers. Returns the
    // batch's reference to the manager (none when it had ended already).
    std::shared_ptr<DownloadManager> abandon();

private:
    void fillSlots();
    void operationFinished();
    void poll();
    void complete();
    void cancelBatch();
    std::shared_ptr<DownloadManager> end();

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
