#include "editor/songsaving.h"

#include "editor/progressdisplay.h"
#include "editor/workerhandoff.h"
#include "model/localized.h"
#include "model/song.h"

#include <system_error>

namespace {

constexpr std::chrono::milliseconds BatchInterval{50};

} // namespace

SongSaving::SongSaving(TagsWriter &writer, QList<Song *> songs, bool forced, ProgressDisplay *progress,
                       std::function<void(const SaveReport &)> finished)
    : m_writer(writer)
    , m_songs(std::move(songs))
    , m_forced(forced)
    , m_progress(progress)
    , m_finished(std::move(finished))
{
}

SongSaving::~SongSaving()
{
    cancel();
    if (m_worker.joinable())
        m_worker.join();
    // Files the worker finished are saved: their songs must say so.
    applyChanges();
}

void SongSaving::start()
{
    for (const Song *song : m_songs) {
        if (song && m_writer.willWrite(*song, m_forced))
            ++m_total;
    }
    m_handoff = std::make_unique<WorkerHandoff>([this] { step(); }, BatchInterval);
    m_progress->showProgress(Localized::text("SavingFiles"));
    showCount();
    try {
        m_worker = std::thread([this] { work(); });
    } catch (const std::system_error &) {
        work(); // no thread to be had: saved here, the rest goes on as ever
    }
}

void SongSaving::work()
{
    SaveHooks hooks;
    hooks.cancel = m_cancelled.get();
    hooks.songDone = [this](Song *song, const SongSaveChanges &changes) {
        {
            std::lock_guard lock(m_mutex);
            m_changes.emplace_back(song, changes);
        }
        m_handoff->wake();
    };
    SaveReport report = m_writer.writeFiles(m_songs, m_forced, hooks);
    {
        std::lock_guard lock(m_mutex);
        m_report = std::move(report);
        m_workDone = true;
    }
    m_handoff->wakeNow();
}

void SongSaving::step()
{
    if (m_ended)
        return;
    bool workDone = false;
    {
        // Read before the changes are taken: once the work is done, every change is there.
        std::lock_guard lock(m_mutex);
        workDone = m_workDone;
    }
    applyChanges();
    showCount();
    if (!workDone)
        return;
    m_ended = true;
    if (m_worker.joinable())
        m_worker.join();
    m_progress->showProgress(QString());
    if (m_finished)
        m_finished(m_report);
}

void SongSaving::applyChanges()
{
    std::vector<std::pair<Song *, SongSaveChanges>> changes;
    {
        std::lock_guard lock(m_mutex);
        changes.swap(m_changes);
    }
    for (const auto &[song, change] : changes)
        change.applyTo(*song);
    m_done += qint64(changes.size());
}

void SongSaving::showCount() const
{
    m_progress->showCountedProgress(ProgressDisplay::countText("SavingXOfY", m_done, m_total), m_done, m_total,
                                    [cancelled = m_cancelled] { cancelled->store(true); });
}
