#pragma once

#include "tags/tagsreader.h"

#include <QStringList>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Parses files on worker threads while the caller goes on, and hands the songs over in path
// order as soon as every earlier path is done. Workers take the paths in order and finish the
// file in hand when cancelled, so what a cancelled run read is always the songs of the leading
// paths, exactly as a sequential read of them makes them. The reader must outlive the run;
// takeReady() and the counts are for one consumer thread.
class ParallelParse {
public:
    // woken is called on a worker thread each time songs became ready to take (ended false) and
    // once when the run has ended (ended true); calls may come from several workers at once.
    // stop, when given, cancels the run once set; it must outlive the run.
    ParallelParse(const TagsReader &reader, QStringList files, int workers,
                  std::function<void(bool ended)> woken = {}, const std::atomic<bool> *stop = nullptr);
    // Cancels the run and waits for its workers.
    ~ParallelParse();
    ParallelParse(const ParallelParse &) = delete;
    ParallelParse &operator=(const ParallelParse &) = delete;

    // Starts the workers; when none can be started, parses every file on the calling thread.
    void start();
    // From any thread: no worker takes a further file.
    void cancel();
    // Blocks until every worker has ended.
    void wait();

    // The songs whose paths are done since the last take, in path order (a path the reader
    // skips gives none).
    SongList takeReady();
    // Paths handed over by takeReady() so far, the skipped ones included.
    qsizetype takenCount() const;
    qsizetype fileCount() const { return m_files.size(); }
    // Every worker has ended and every song has been taken.
    bool isFinished() const;

private:
    void work();

    const TagsReader &m_reader;
    const QStringList m_files;
    const int m_workers;
    const std::function<void(bool ended)> m_woken;
    const std::atomic<bool> *m_stop;
    std::vector<std::thread> m_threads;
    std::atomic<qsizetype> m_next{0};
    std::atomic<bool> m_cancelled{false};

    mutable std::mutex m_mutex;
    // By path index; done[i] once a worker has finished path i.
    SongList m_results;
    std::vector<char> m_done;
    qsizetype m_readyEnd = 0;
    qsizetype m_taken = 0;
    int m_running = 0;
};
