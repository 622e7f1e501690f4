#pragma once

#include "tags/tagswriter.h"

#include <QList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class ProgressDisplay;
class Song;
class WorkerHandoff;

// One save pass run on a worker thread, with a count and a way to cancel. The pass writes the
// files there; what it changes on the songs (paths of renamed files, cleared flags) is applied on
// the thread that started it, in list order, so that whoever watches the songs hears of it there.
// Cancelling lets the file in hand be finished and saves no further one. The songs must stay in
// memory and unchanged until the pass has ended; the writer must outlive it.
class SongSaving {
public:
    // finished gets the pass's report on the starting thread once every change has been applied;
    // the pass may be destroyed then, but not from inside finished.
    SongSaving(TagsWriter &writer, QList<Song *> songs, bool forced, ProgressDisplay *progress,
               std::function<void(const SaveReport &)> finished);
    // Cancels and waits for the worker; changes it made after the last batch are applied.
    ~SongSaving();
    SongSaving(const SongSaving &) = delete;
    SongSaving &operator=(const SongSaving &) = delete;

    void start();
    void cancel() { m_cancelled->store(true); }

private:
    void work();
    void step();
    // The changes the worker handed over since the last call, applied in order.
    void applyChanges();
    void showCount() const;

    TagsWriter &m_writer;
    const QList<Song *> m_songs;
    const bool m_forced;
    ProgressDisplay *const m_progress;
    const std::function<void(const SaveReport &)> m_finished;
    const std::shared_ptr<std::atomic<bool>> m_cancelled = std::make_shared<std::atomic<bool>>(false);
    std::unique_ptr<WorkerHandoff> m_handoff;
    std::thread m_worker;
    qint64 m_total = 0;
    qint64 m_done = 0;
    bool m_ended = false;

    std::mutex m_mutex;
    std::vector<std::pair<Song *, SongSaveChanges>> m_changes;
    SaveReport m_report;
    bool m_workDone = false;
};
