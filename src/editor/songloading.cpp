#include "editor/songloading.h"

#include "editor/editorcontroller.h"
#include "editor/musicfilewalk.h"
#include "editor/progressdisplay.h"
#include "editor/songtablestate.h"
#include "editor/workerhandoff.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/parallelparse.h"

#include <algorithm>
#include <system_error>

namespace {

// Often enough for the list to fill visibly, seldom enough to cost nothing beside the reading.
constexpr std::chrono::milliseconds BatchInterval{50};

} // namespace

SongLoading::SongLoading(EditorController &editor, Request request, bool announceOnce, std::function<void()> finished)
    : m_editor(editor)
    , m_request(std::move(request))
    , m_announceOnce(announceOnce)
    , m_finished(std::move(finished))
{
}

SongLoading::~SongLoading()
{
    cancel();
    if (m_walker.joinable())
        m_walker.join();
    m_parse.reset();
}

void SongLoading::start()
{
    m_handoff = std::make_unique<WorkerHandoff>([this] { step(); }, BatchInterval);
    if (m_request.reload)
        startReload();
    m_editor.progress()->showProgress(Localized::text("Reading"));
    showCount(0, 0);
    m_editor.m_skippedPaths.clear();
    m_editor.m_strandedPaths.clear();
    try {
        m_walker = std::thread([this, paths = m_request.paths] { walk(paths); });
    } catch (const std::system_error &) {
        walk(m_request.paths); // no thread to be had: walked here, the rest goes on as ever
    }
}

void SongLoading::startReload()
{
    // The list is emptied now and read anew; its songs keep their renamability.
    m_request.paths.clear();
    m_request.skipConfirmRenamingRestriction = true;
    for (const auto &song : m_editor.m_songs) {
        m_wasRenamable.insert(song->filePath(), song->isRenamable());
        m_request.paths.append(song->filePath());
    }
    m_editor.beginChange();
    m_editor.removeAllSongs();
    if (m_announceOnce)
        m_holdsChange = true;
    else
        m_editor.endChange();
}

void SongLoading::walk(const QStringList &paths)
{
    MusicFileWalk walk(m_cancelled.get());
    for (const QString &path : paths)
        walk.collect(path, &m_musicFiles, &m_excludes);
    m_skippedPaths = walk.skippedPaths();
    m_strandedPaths = walk.strandedPaths();
    m_walkDone = true;
    m_handoff->wakeNow();
}

void SongLoading::step()
{
    switch (m_phase) {
    case Phase::Walking:
        if (m_walkDone)
            walkEnded();
        break;
    case Phase::Reading:
        appendReady();
        break;
    case Phase::Ended:
        break;
    }
}

void SongLoading::walkEnded()
{
    if (m_walker.joinable())
        m_walker.join();
    m_editor.m_skippedPaths = m_skippedPaths;
    m_editor.m_strandedPaths = m_strandedPaths;
    if (m_cancelled->load()) {
        finish();
        return;
    }
    // Asked here, between the walk and the reading, as a sequential load asks it.
    if (!m_request.skipConfirmRenamingRestriction && !m_excludes.isEmpty()
        && !m_editor.confirmEdRenameRestriction()) {
        finish();
        return;
    }
    startReading();
}

void SongLoading::startReading()
{
    m_phase = Phase::Reading;
    if (m_announceOnce && !m_holdsChange) {
        m_editor.beginChange();
        m_holdsChange = true;
    }
    // A path already in the list is never read again, nor one collected twice in this batch.
    QSet<QString> known;
    known.reserve(qsizetype(m_editor.m_songs.size()) + m_musicFiles.size());
    for (const auto &song : m_editor.m_songs)
        known.insert(song->filePath());
    QStringList kept;
    kept.reserve(m_musicFiles.size());
    for (const QString &path : std::as_const(m_musicFiles)) {
        if (!known.contains(path)) {
            known.insert(path);
            kept.append(path);
        }
    }
    m_musicFiles.clear();

    TagsReader &reader = m_editor.reader();
    reader.setLeadingZeros(UserDefaults::shared().boolForKey(QStringLiteral("NUMBERING_LEADING_ZERO")));
    const int workers = std::max(1, reader.workerCount(kept.size()));
    WorkerHandoff *handoff = m_handoff.get();
    m_parse = std::make_unique<ParallelParse>(
        reader, kept, workers,
        [handoff](bool ended) {
            if (ended)
                handoff->wakeNow();
            else
                handoff->wake();
        },
        m_cancelled.get());
    showCount(0, kept.size());
    m_parse->start();
}

void SongLoading::appendReady()
{
    SongList batch = m_parse->takeReady();
    // Only the songs just read can carry a collected path; songs already listed keep their flag.
    for (const auto &song : batch) {
        if (m_excludes.contains(song->filePath()))
            song->setIsRenamable(false);
        const auto previous = m_wasRenamable.constFind(song->filePath());
        if (previous != m_wasRenamable.constEnd())
            song->setIsRenamable(*previous);
        m_added.insert(song.get());
    }
    if (!batch.empty()) {
        m_editor.beginChange();
        m_editor.insertSongs(m_editor.m_songs.size(), std::move(batch));
        // The new songs are at the end: the table shows the list order.
        if (!m_sortOrderCleared) {
            m_editor.table()->clearSortOrder();
            m_sortOrderCleared = true;
        }
        m_editor.endChange();
    }
    const bool ended = m_parse->isFinished();
    showCount(m_parse->takenCount(), m_parse->fileCount());
    if (ended)
        finish();
}

void SongLoading::finish()
{
    const bool read = m_phase == Phase::Reading;
    m_phase = Phase::Ended;
    m_parse.reset();
    if (m_holdsChange) {
        m_holdsChange = false;
        m_editor.endChange();
    }
    if (read || m_request.reload) {
        // The songs this load added become the selection, in list order.
        QList<int> rows;
        rows.reserve(m_added.size());
        for (size_t row = 0; row < m_editor.m_songs.size(); ++row) {
            if (m_added.contains(m_editor.m_songs[row].get()))
                rows.append(int(row));
        }
        m_editor.table()->setSelectedRows(rows);
    }
    m_editor.progress()->showProgress(QString());
    if (m_finished)
        m_finished();
}

void SongLoading::showCount(qint64 done, qint64 total)
{
    const QString text = total > 0 ? ProgressDisplay::countText("ReadingXOfY", done, total) : Localized::text("Reading");
    m_editor.progress()->showCountedProgress(text, done, total, [cancelled = m_cancelled] { cancelled->store(true); });
}
