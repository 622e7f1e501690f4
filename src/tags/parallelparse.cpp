#include "tags/parallelparse.h"

#include "model/song.h"

#include <algorithm>
#include <system_error>

ParallelParse::ParallelParse(const TagsReader &reader, QStringList files, int workers,
                             std::function<void(bool ended)> woken, const std::atomic<bool> *stop)
    : m_reader(reader)
    , m_files(std::move(files))
    , m_workers(int(std::clamp<qsizetype>(workers, 1, std::max<qsizetype>(1, m_files.size()))))
    , m_woken(std::move(woken))
    , m_stop(stop)
    , m_results(size_t(m_files.size()))
    , m_done(size_t(m_files.size()), 0)
{
}

ParallelParse::~ParallelParse()
{
    cancel();
    wait();
}

void ParallelParse::start()
{
    Q_ASSERT(m_threads.empty() && m_running == 0);
    {
        // Counted before any worker runs, so that no worker takes itself for the last one early.
        std::lock_guard lock(m_mutex);
        m_running = m_workers;
    }
    m_threads.reserve(size_t(m_workers));
    for (int i = 0; i < m_workers; ++i) {
        try {
            m_threads.emplace_back([this] { work(); });
        } catch (const std::system_error &) {
            std::lock_guard lock(m_mutex);
            m_running -= m_workers - i;
            break;
        }
    }
    if (m_threads.empty()) {
        // No thread could be started: the work is done here.
        {
            std::lock_guard lock(m_mutex);
            m_running = 1;
        }
        work();
    }
}

void ParallelParse::cancel()
{
    m_cancelled = true;
}

void ParallelParse::wait()
{
    for (std::thread &thread : m_threads) {
        if (thread.joinable())
            thread.join();
    }
}

void ParallelParse::work()
{
    while (!m_cancelled.load() && !(m_stop && m_stop->load())) {
        const qsizetype index = m_next++;
        if (index >= m_files.size())
            break;
        std::unique_ptr<Song> song = m_reader.parseFile(m_files.at(index));
        bool advanced = false;
        {
            std::lock_guard lock(m_mutex);
            m_results[size_t(index)] = std::move(song);
            m_done[size_t(index)] = 1;
            while (m_readyEnd < m_files.size() && m_done[size_t(m_readyEnd)]) {
                ++m_readyEnd;
                advanced = true;
            }
        }
        if (advanced && m_woken)
            m_woken(false);
    }
    bool last = false;
    {
        std::lock_guard lock(m_mutex);
        last = --m_running == 0;
    }
    if (last && m_woken)
        m_woken(true);
}

SongList ParallelParse::takeReady()
{
    SongList ready;
    std::lock_guard lock(m_mutex);
    ready.reserve(size_t(m_readyEnd - m_taken));
    for (; m_taken < m_readyEnd; ++m_taken) {
        if (auto &song = m_results[size_t(m_taken)])
            ready.push_back(std::move(song));
    }
    return ready;
}

qsizetype ParallelParse::takenCount() const
{
    std::lock_guard lock(m_mutex);
    return m_taken;
}

bool ParallelParse::isFinished() const
{
    std::lock_guard lock(m_mutex);
    return m_running == 0 && m_taken == m_readyEnd;
}
