#pragma once

#include "tags/tagsreader.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class EditorController;
class ParallelParse;
class Song;
class WorkerHandoff;

// One load of the song list: the work of EditorController::traverseFiles() and of Reload. The
// walk and the parse run on worker threads; the question, the songs entering the list (in path
// order, in batches), the sort order, the selection and the progress are done on the thread that
// owns the controller, so that the list, the flags and the questions come out as a sequential
// load makes them. A cancelled load keeps the songs read until then, in order.
class SongLoading {
public:
    struct Request {
        QStringList paths;
        bool skipConfirmRenamingRestriction = false;
        // Read the songs of the list anew in place of them (the paths are those of the list when
        // the load starts).
        bool reload = false;
    };

    // announceOnce makes the whole load one announced change of the list, as a load that the
    // caller waits for is; otherwise each batch is one. finished is called on the owning thread
    // once the load has ended; the load may be destroyed then, but not from inside finished.
    SongLoading(EditorController &editor, Request request, bool announceOnce, std::function<void()> finished);
    // Stops the workers (the files in hand are finished) and waits for them.
    ~SongLoading();
    SongLoading(const SongLoading &) = delete;
    SongLoading &operator=(const SongLoading &) = delete;

    void start();
    // From the owning thread: no further file is walked or read.
    void cancel() { m_cancelled->store(true); }

private:
    enum class Phase { Walking, Reading, Ended };

    void startReload();
    void walk(const QStringList &paths);
    void step();
    void walkEnded();
    void startReading();
    void appendReady();
    void finish();
    void showCount(qint64 done, qint64 total);

    EditorController &m_editor;
    Request m_request;
    const bool m_announceOnce;
    const std::function<void()> m_finished;
    // Shared with the cancel function handed to the progress display, which may outlive the load.
    const std::shared_ptr<std::atomic<bool>> m_cancelled = std::make_shared<std::atomic<bool>>(false);
    std::unique_ptr<WorkerHandoff> m_handoff;
    Phase m_phase = Phase::Walking;
    bool m_holdsChange = false;

    // Written by the walking thread until walkDone is set.
    std::thread m_walker;
    std::atomic<bool> m_walkDone{false};
    QStringList m_musicFiles;
    QSet<QString> m_excludes;
    QStringList m_skippedPaths;
    QStringList m_strandedPaths;

    QHash<QString, bool> m_wasRenamable;
    std::unique_ptr<ParallelParse> m_parse;
    QSet<const Song *> m_added;
    bool m_sortOrderCleared = false;
};
