#include "editor/editorcontroller.h"

#include "editor/musicfilewalk.h"
#include "editor/settingsregistry.h"
#include "editor/songsorting.h"
#include "editor/userinterface.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHash>

#include <algorithm>

EditorController::EditorController(UserQuestions *questions, ProgressDisplay *progress, SongTableState *table)
    : m_questions(questions)
    , m_progress(progress)
    , m_table(table)
{
    Q_ASSERT(questions && progress && table);
    SettingsRegistry::registerDefaultsOnce();
}

EditorController::EditorController(UserInterface *ui)
    : EditorController(ui, ui, ui)
{
}

EditorController::~EditorController() = default;

QList<Song *> EditorController::arrangedObjects() const
{
    QList<Song *> all;
    all.reserve(qsizetype(m_songs.size()));
    for (const auto &song : m_songs)
        all.append(song.get());
    return all;
}

QList<Song *> EditorController::selectedObjects() const
{
    QList<int> rows = m_table->selectedRows();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<Song *> selected;
    for (int row : rows) {
        if (row >= 0 && size_t(row) < m_songs.size())
            selected.append(m_songs[size_t(row)].get());
    }
    return selected;
}

void EditorController::addObserver(SongListObserver *observer)
{
    if (observer && !m_observers.contains(observer))
        m_observers.append(observer);
}

void EditorController::removeObserver(SongListObserver *observer)
{
    m_observers.removeAll(observer);
}

template <typename Notice>
void EditorController::tellObservers(Notice notice)
{
    // A copy: an observer may come or go while the others are told.
    const QList<SongListObserver *> observers = m_observers;
    for (SongListObserver *observer : observers) {
        if (m_observers.contains(observer))
            notice(observer);
    }
}

void EditorController::beginChange()
{
    if (m_changeDepth++ == 0)
        tellObservers([](SongListObserver *observer) { observer->songsWillChange(); });
}

void EditorController::endChange()
{
    Q_ASSERT(m_changeDepth > 0);
    if (--m_changeDepth == 0)
        tellObservers([](SongListObserver *observer) { observer->songsDidChange(); });
}

void EditorController::appendSongs(SongList songs)
{
    if (songs.empty())
        return;
    beginChange();
    insertSongs(m_songs.size(), std::move(songs));
    endChange();
}

// ---- Mutations told by rows -----------------------------------------------------------------

void EditorController::insertSongs(size_t row, SongList songs)
{
    Q_ASSERT(m_changeDepth > 0 && row <= m_songs.size());
    if (songs.empty())
        return;
    const int first = int(row);
    const int last = int(row + songs.size() - 1);
    tellObservers([=](SongListObserver *observer) { observer->songsWillBeInserted(first, last); });
    m_songs.insert(m_songs.begin() + qsizetype(row), std::make_move_iterator(songs.begin()),
                   std::make_move_iterator(songs.end()));
    tellObservers([=](SongListObserver *observer) { observer->songsInserted(first, last); });
}

void EditorController::removeSongRange(size_t first, size_t last)
{
    Q_ASSERT(m_changeDepth > 0 && first <= last && last < m_songs.size());
    const int from = int(first);
    const int to = int(last);
    tellObservers([=](SongListObserver *observer) { observer->songsWillBeRemoved(from, to); });
    m_songs.erase(m_songs.begin() + qsizetype(first), m_songs.begin() + qsizetype(last) + 1);
    tellObservers([=](SongListObserver *observer) { observer->songsRemoved(from, to); });
}

void EditorController::moveSongRange(size_t first, size_t last, size_t destination)
{
    Q_ASSERT(m_changeDepth > 0 && first <= last && last < m_songs.size());
    Q_ASSERT(destination < first || (destination > last + 1 && destination <= m_songs.size()));
    const int from = int(first);
    const int to = int(last);
    const int before = int(destination);
    tellObservers([=](SongListObserver *observer) { observer->songsWillBeMoved(from, to, before); });
    const auto at = [this](size_t row) { return m_songs.begin() + qsizetype(row); };
    if (destination > last)
        std::rotate(at(first), at(last + 1), at(destination));
    else
        std::rotate(at(destination), at(first), at(last + 1));
    tellObservers([=](SongListObserver *observer) { observer->songsMoved(from, to, before); });
}

void EditorController::removeAllSongs()
{
    Q_ASSERT(m_changeDepth > 0);
    tellObservers([](SongListObserver *observer) { observer->songsWillBeReset(); });
    m_songs.clear();
    tellObservers([](SongListObserver *observer) { observer->songsReset(); });
}

const QStringList &EditorController::musicExtensions()
{
    static const QStringList extensions = {
        QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("m4b"), QStringLiteral("flac"),
        QStringLiteral("aif"), QStringLiteral("aiff"), QStringLiteral("wav"),
    };
    return extensions;
}

bool EditorController::hasMusicExtension(const QString &path)
{
    const QStringView name = QStringView(path).mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = name.mid(dot + 1);
    for (const QString &known : musicExtensions()) {
        if (extension.compare(known, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// ---- Commands -------------------------------------------------------------------------------

void EditorController::addSongs()
{
    UserQuestions::FileChoice choice;
    choice.promptKey = QStringLiteral("Add");
    choice.messageKey = QStringLiteral("AddMusicFilesToEdit");
    choice.titleKey = QStringLiteral("Add");
    choice.extensions = musicExtensions();
    choice.allowFolders = true;
    choice.allowMultiple = true;
    const std::optional<QStringList> paths = m_questions->chooseFiles(choice);
    if (paths)
        traverseFiles(*paths, false);
}

void EditorController::openFiles(const QStringList &paths)
{
    traverseFiles(paths, false);
}

void EditorController::removeSongs()
{
    if (m_saving)
        return;
    QList<int> rows = m_table->selectedRows();
    rows.removeIf([this](int row) { return row < 0 || size_t(row) >= m_songs.size(); });
    if (rows.isEmpty())
        return;
    // From the highest row down, so that the lower rows still name the same songs.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    beginChange();
    // Each run of adjacent rows goes at once.
    for (qsizetype index = 0; index < rows.size();) {
        qsizetype end = index + 1;
        while (end < rows.size() && rows.at(end) == rows.at(end - 1) - 1)
            ++end;
        removeSongRange(size_t(rows.at(end - 1)), size_t(rows.at(index)));
        index = end;
    }
    endChange();
}

void EditorController::clearSongs()
{
    if (m_saving)
        return;
    beginChange();
    removeAllSongs();
    endChange();
}

void EditorController::reloadSongs()
{
    // The list is read when the reload's turn comes, after the loads asked for before it.
    SongLoading::Request request;
    request.reload = true;
    load(request);
}

// ---- Collecting and adding ------------------------------------------------------------------

void EditorController::traverseFile(const QString &path, QStringList *andAddMusicFiles,
                                    QSet<QString> *andExcludes)
{
    MusicFileWalk walk;
    walk.collect(path, andAddMusicFiles, andExcludes);
    m_skippedPaths += walk.skippedPaths();
    m_strandedPaths += walk.strandedPaths();
}

bool EditorController::confirmEdRenameRestriction()
{
    UserDefaults &defaults = UserDefaults::shared();
    if (defaults.boolForKey(QStringLiteral("CONFIRMED_RENAME_RESTRICTION")))
        return true;
    UserQuestions::Question question;
    question.messageKey = QStringLiteral("AddingIndividualFiles");
    question.informativeKey = QStringLiteral("CantRenameIndividuallyAddedFilesOutsideStandardFolders");
    question.buttonKeys = {QStringLiteral("OK"), QStringLiteral("Cancel"), QStringLiteral("DontShowAgain")};
    switch (m_questions->ask(question)) {
    case 0:
        return true;
    case 2:
        defaults.setBool(true, QStringLiteral("CONFIRMED_RENAME_RESTRICTION"));
        return true;
    default:
        return false;
    }
}

void EditorController::traverseFiles(const QStringList &paths, bool skipConfirmRenamingRestriction)
{
    SongLoading::Request request;
    request.paths = paths;
    request.skipConfirmRenamingRestriction = skipConfirmRenamingRestriction;
    load(request);
}

void EditorController::load(SongLoading::Request request)
{
    m_loadQueue.push_back(std::move(request));
    startNextLoad();
    if (!m_loadsInBackground)
        waitForLoading();
}

void EditorController::startNextLoad()
{
    if (m_loading || m_saving || m_loadQueue.empty())
        return;
    SongLoading::Request request = std::move(m_loadQueue.front());
    m_loadQueue.pop_front();
    // A load that is waited for is one announced change, as a command is.
    m_loading = std::make_unique<SongLoading>(*this, std::move(request), !m_loadsInBackground,
                                              [this] { loadEnded(); });
    m_loading->start();
}

void EditorController::loadEnded()
{
    m_endedLoading = std::move(m_loading);
    startNextLoad();
}

void EditorController::cancelLoading()
{
    if (m_loading)
        m_loading->cancel();
}

void EditorController::waitForLoading()
{
    Q_ASSERT_X(QCoreApplication::instance(), "EditorController", "loading needs an event loop");
    QEventLoop loop;
    while (isLoading())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void EditorController::setSaving(bool saving)
{
    m_saving = saving;
    startNextLoad();
}

// ---- Reordering -----------------------------------------------------------------------------

void EditorController::moveSongs(const QList<int> &rows, int toRow)
{
    if (m_saving)
        return;
    QList<int> ascending = rows;
    ascending.removeIf([this](int row) { return row < 0 || size_t(row) >= m_songs.size(); });
    std::sort(ascending.begin(), ascending.end());
    ascending.erase(std::unique(ascending.begin(), ascending.end()), ascending.end());

    m_table->clearSortOrder();
    beginChange();
    // The moved songs end up together, in their old order, where the first song not moved at or
    // below the target row was. Each run of adjacent rows moves at once: the runs above the
    // target, nearest first, join the block from above; those at or below it, nearest first,
    // from below.
    const int target = std::clamp(toRow, 0, int(m_songs.size()));
    const qsizetype split = std::lower_bound(ascending.begin(), ascending.end(), target) - ascending.begin();
    int blockStart = target;
    for (qsizetype end = split; end > 0;) {
        qsizetype begin = end - 1;
        while (begin > 0 && ascending.at(begin - 1) == ascending.at(begin) - 1)
            --begin;
        const int first = ascending.at(begin);
        const int last = ascending.at(end - 1);
        if (last + 1 != blockStart)
            moveSongRange(size_t(first), size_t(last), size_t(blockStart));
        blockStart -= last - first + 1;
        end = begin;
    }
    int blockEnd = target;
    for (qsizetype begin = split; begin < ascending.size();) {
        qsizetype end = begin + 1;
        while (end < ascending.size() && ascending.at(end) == ascending.at(end - 1) + 1)
            ++end;
        const int first = ascending.at(begin);
        const int last = ascending.at(end - 1);
        if (first != blockEnd)
            moveSongRange(size_t(first), size_t(last), size_t(blockEnd));
        blockEnd += last - first + 1;
        begin = end;
    }
    endChange();
}

void EditorController::sortUsingDescriptors(const QList<SortDescriptor> &descriptors)
{
    if (descriptors.isEmpty() || m_songs.size() < 2)
        return;
    tellObservers([](SongListObserver *observer) { observer->songsWillBeSorted(); });
    const std::vector<int> previousRows = SongSorting::sortSongs(&m_songs, descriptors);
    tellObservers([&](SongListObserver *observer) { observer->songsSorted(previousRows); });
}

// ---- Progress and status --------------------------------------------------------------------

void EditorController::showProgressBar(const QString &text)
{
    m_progress->showProgress(text);
}

QString EditorController::statusMessage() const
{
    const qsizetype count = qsizetype(m_songs.size());
    if (count == 0)
        return Localized::text("NoSongsLoaded");
    const qsizetype selected = selectedObjects().size();
    if (count == 1)
        return Localized::text("1SongLoadedNSelected").arg(selected);
    return Localized::text("NSongsLoadedNSelected").arg(count).arg(selected);
}
