#include "editor/editorcontroller.h"

#include "editor/folderlisting.h"
#include "editor/settingsregistry.h"
#include "editor/songsorting.h"
#include "editor/userinterface.h"
#include "model/filerename.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <numeric>

#include <sys/stat.h>

namespace {

QString childPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The path without its last component ("/a/b.mp3" gives "/a", "/b.mp3" gives "/").
QString parentFolder(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

} // namespace

EditorController::EditorController(UserInterface *ui)
    : m_ui(ui)
{
    Q_ASSERT(ui);
    SettingsRegistry::registerDefaultsOnce();
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
    QList<int> rows = m_ui->selectedRows();
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
    UserInterface::FileChoice choice;
    choice.promptKey = QStringLiteral("Add");
    choice.messageKey = QStringLiteral("AddMusicFilesToEdit");
    choice.titleKey = QStringLiteral("Add");
    choice.extensions = musicExtensions();
    choice.allowFolders = true;
    choice.allowMultiple = true;
    const std::optional<QStringList> paths = m_ui->chooseFiles(choice);
    if (paths)
        traverseFiles(*paths, false);
}

void EditorController::openFiles(const QStringList &paths)
{
    traverseFiles(paths, false);
}

void EditorController::removeSongs()
{
    QList<int> rows = m_ui->selectedRows();
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
    beginChange();
    removeAllSongs();
    endChange();
}

void EditorController::reloadSongs()
{
    beginChange();
    QHash<QString, bool> wasRenamable;
    QStringList paths;
    wasRenamable.reserve(qsizetype(m_songs.size()));
    paths.reserve(qsizetype(m_songs.size()));
    for (const auto &song : m_songs) {
        wasRenamable.insert(song->filePath(), song->isRenamable());
        paths.append(song->filePath());
    }
    removeAllSongs();
    traverseFiles(paths, true);
    for (const auto &song : m_songs) {
        const auto found = wasRenamable.constFind(song->filePath());
        if (found != wasRenamable.constEnd())
            song->setIsRenamable(*found);
    }
    endChange();
}

// ---- Collecting and adding ------------------------------------------------------------------

void EditorController::beginWalk()
{
    if (m_walkDepth++ == 0)
        m_visitedFolders.clear();
}

void EditorController::endWalk()
{
    if (--m_walkDepth == 0)
        m_visitedFolders.clear();
}

void EditorController::traverseFile(const QString &path, QStringList *andAddMusicFiles,
                                    QSet<QString> *andExcludes)
{
    if (path.isEmpty())
        return;
    beginWalk();
    collect(QDir::cleanPath(QFileInfo(path).absoluteFilePath()), andAddMusicFiles, andExcludes);
    endWalk();
}

void EditorController::collect(const QString &path, QStringList *musicFiles, QSet<QString> *excludes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return;

    if (info.isDir()) {
        collectFolder(path, info.canonicalFilePath(), false, musicFiles);
        return;
    }

    // Only regular files: a pipe or device with a music name would block or be meaningless.
    if (!info.isFile() || !hasMusicExtension(path))
        return;
    musicFiles->append(path);
    if (!excludes)
        return;
    const StandardFolders::Folders &folders = StandardFolders::current();
    const QString folder = parentFolder(path);
    if (folder.startsWith(folders.music) || folder.startsWith(folders.downloads))
        return;
    excludes->insert(path);
}

void EditorController::collectLookedUp(const QString &path, QStringList *musicFiles)
{
    // One lookup, through links: a dangling link is nothing, a link to a folder is walked.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode))
        collectFolder(path, QFileInfo(path).canonicalFilePath(), false, musicFiles);
    else if (S_ISREG(st.st_mode) && hasMusicExtension(path))
        musicFiles->append(path);
}

void EditorController::collectFolder(const QString &path, const QString &canonical, bool isLinkFree,
                                     QStringList *musicFiles)
{
    if (canonical.isEmpty() || m_visitedFolders.contains(canonical))
        return;
    m_visitedFolders.insert(canonical);

    FolderListing::Listing listing = FolderListing::list(path, !isLinkFree);
    for (const QByteArray &name : listing.invalidNames)
        m_skippedPaths.append(childPath(path, FolderListing::printableName(name)));
    restoreInterruptedRenames(path, &listing);
    // Names equal but for case keep a fixed order between them.
    QList<qsizetype> order(listing.names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&names = listing.names](qsizetype a, qsizetype b) {
        const int compared = QString::compare(names.at(a), names.at(b), Qt::CaseInsensitive);
        return compared != 0 ? compared < 0 : names.at(a) < names.at(b);
    });

    // The listing tells folders and regular files apart, so a file is looked up only when it is
    // a link or of a type the file system did not say, and a file is taken by its name alone.
    for (const qsizetype index : std::as_const(order)) {
        const QString &name = listing.names.at(index);
        const QString child = childPath(path, name);
        switch (listing.types.at(index)) {
        case FolderListing::EntryType::Folder:
            // No link: its own name completes the canonical path.
            collectFolder(child, childPath(canonical, name), true, musicFiles);
            break;
        case FolderListing::EntryType::File:
            if (hasMusicExtension(name))
                musicFiles->append(child);
            break;
        case FolderListing::EntryType::Unknown:
            collectLookedUp(child, musicFiles);
            break;
        case FolderListing::EntryType::Other:
            break;
        }
    }
}

void EditorController::restoreInterruptedRenames(const QString &path, FolderListing::Listing *listing)
{
    for (qsizetype index = listing->names.size() - 1; index >= 0; --index) {
        const QString &name = listing->names.at(index);
        // Only hidden entries cost a second look.
        if (!name.startsWith(u'.') || !FileRename::isTemporaryName(name))
            continue;
        const FileRename::Restoration restoration = FileRename::restore(path, name);
        listing->names.removeAt(index);
        listing->types.removeAt(index);
        for (const QString &restored : restoration.restoredNames) {
            listing->names.append(restored);
            listing->types.append(FolderListing::EntryType::Unknown);
        }
        m_strandedPaths += restoration.strandedPaths;
    }
}

bool EditorController::confirmEdRenameRestriction()
{
    UserDefaults &defaults = UserDefaults::shared();
    if (defaults.boolForKey(QStringLiteral("CONFIRMED_RENAME_RESTRICTION")))
        return true;
    UserInterface::Question question;
    question.messageKey = QStringLiteral("AddingIndividualFiles");
    question.informativeKey = QStringLiteral("CantRenameIndividuallyAddedFilesOutsideStandardFolders");
    question.buttonKeys = {QStringLiteral("OK"), QStringLiteral("Cancel"), QStringLiteral("DontShowAgain")};
    switch (m_ui->ask(question)) {
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
    showProgressBar(Localized::text("Reading"));
    m_skippedPaths.clear();
    m_strandedPaths.clear();

    QStringList musicFiles;
    QSet<QString> excludes;
    beginWalk();
    for (const QString &path : paths)
        traverseFile(path, &musicFiles, &excludes);
    endWalk();

    if (!skipConfirmRenamingRestriction && !excludes.isEmpty() && !confirmEdRenameRestriction()) {
        showProgressBar(QString());
        return;
    }

    beginChange();
    const size_t firstNew = m_songs.size();

    // A path already in the list is never read again, nor one collected twice in this batch.
    QSet<QString> known;
    known.reserve(qsizetype(m_songs.size()) + musicFiles.size());
    for (const auto &song : m_songs)
        known.insert(song->filePath());
    QStringList kept;
    kept.reserve(musicFiles.size());
    for (const QString &path : std::as_const(musicFiles)) {
        if (!known.contains(path)) {
            known.insert(path);
            kept.append(path);
        }
    }

    m_reader.setLeadingZeros(UserDefaults::shared().boolForKey(QStringLiteral("NUMBERING_LEADING_ZERO")));
    SongList read;
    m_reader.parseFiles(kept, &read);
    insertSongs(m_songs.size(), std::move(read));

    // Only the songs just read can carry a kept path; songs already listed keep their flag.
    if (!excludes.isEmpty()) {
        for (size_t i = firstNew; i < m_songs.size(); ++i) {
            if (excludes.contains(m_songs[i]->filePath()))
                m_songs[i]->setIsRenamable(false);
        }
    }
    if (m_songs.size() > firstNew)
        m_ui->clearSortOrder();
    endChange();

    QList<int> newRows;
    newRows.reserve(qsizetype(m_songs.size() - firstNew));
    for (size_t row = firstNew; row < m_songs.size(); ++row)
        newRows.append(int(row));
    m_ui->setSelectedRows(newRows);
    showProgressBar(QString());
}

// ---- Reordering -----------------------------------------------------------------------------

void EditorController::moveSongs(const QList<int> &rows, int toRow)
{
    QList<int> ascending = rows;
    ascending.removeIf([this](int row) { return row < 0 || size_t(row) >= m_songs.size(); });
    std::sort(ascending.begin(), ascending.end());
    ascending.erase(std::unique(ascending.begin(), ascending.end()), ascending.end());

    m_ui->clearSortOrder();
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
    m_ui->showProgress(text);
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
