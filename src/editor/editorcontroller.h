#pragma once

#include "editor/folderlisting.h"
#include "editor/standardfolders.h"
#include "tags/tagsreader.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class Song;
class UserInterface;

// Told of every structural change of the song list, once per command (begin before the first
// mutation, end after the last), and inside that of each mutation by rows, before and after it,
// in the terms of an item model: rows first to last inclusive; a move's destination is the row
// before which the rows land, counted before the move. Sorting in place is no announced change:
// it is told by songsWillBeSorted() and songsSorted() alone.
class SongListObserver {
public:
    virtual ~SongListObserver() = default;
    virtual void songsWillChange() {}
    virtual void songsDidChange() {}

    virtual void songsWillBeInserted(int first, int last) { Q_UNUSED(first); Q_UNUSED(last); }
    virtual void songsInserted(int first, int last) { Q_UNUSED(first); Q_UNUSED(last); }
    virtual void songsWillBeRemoved(int first, int last) { Q_UNUSED(first); Q_UNUSED(last); }
    virtual void songsRemoved(int first, int last) { Q_UNUSED(first); Q_UNUSED(last); }
    virtual void songsWillBeMoved(int first, int last, int destination)
    {
        Q_UNUSED(first); Q_UNUSED(last); Q_UNUSED(destination);
    }
    virtual void songsMoved(int first, int last, int destination)
    {
        Q_UNUSED(first); Q_UNUSED(last); Q_UNUSED(destination);
    }
    // The whole list replaced (cleared, or emptied for a reload).
    virtual void songsWillBeReset() {}
    virtual void songsReset() {}
    virtual void songsWillBeSorted() {}
    // previousRows[i] is the row that the song now at row i had before the sort.
    virtual void songsSorted(const std::vector<int> &previousRows) { Q_UNUSED(previousRows); }
};

// One key of the table's sort order: a song property name and a direction.
struct SortDescriptor {
    QString key;
    bool ascending = true;
};

// Owns the song list of the editor window and does everything that brings songs into it, takes
// them out or moves them. Runs on the thread that calls it; talks to the user only through the
// UserInterface port, which must outlive the controller.
class EditorController {
public:
    explicit EditorController(UserInterface *ui);
    ~EditorController();
    EditorController(const EditorController &) = delete;
    EditorController &operator=(const EditorController &) = delete;

    // The list in table order, and the selected songs in table order.
    const SongList &songs() const { return m_songs; }
    QList<Song *> arrangedObjects() const;
    QList<Song *> selectedObjects() const;
    void addObserver(SongListObserver *observer);
    void removeObserver(SongListObserver *observer);
    // Appends songs made elsewhere, as one announced change; asks nothing, and leaves the sort
    // order and the selection alone.
    void appendSongs(SongList songs);

    // Commands.
    void addSongs();
    void removeSongs();
    void clearSongs();
    void reloadSongs();

    void openFiles(const QStringList &paths);
    void traverseFiles(const QStringList &paths, bool skipConfirmRenamingRestriction);
    void traverseFile(const QString &path, QStringList *andAddMusicFiles, QSet<QString> *andExcludes);
    bool confirmEdRenameRestriction();
    // Rows in descending order.
    void moveSongs(const QList<int> &rows, int toRow);
    void sortUsingDescriptors(const QList<SortDescriptor> &descriptors);

    // The extensions, lower case, of the files that loading reads.
    static const QStringList &musicExtensions();
    static bool hasMusicExtension(const QString &path);

    void showProgressBar(const QString &text);
    QString statusMessage() const;

    // Paths met while walking whose names are not valid UTF-8, as printable text; they are
    // never read, written or renamed. Cleared at the start of each traverseFiles().
    const QStringList &skippedPaths() const { return m_skippedPaths; }
    // Files that an interrupted rename left in its hidden folder and that the walk could not give
    // their name back (another file has it, or the folder may not be written): their paths, left
    // where they are and not loaded. Files it could give their name back are loaded as any other.
    // Cleared at the start of each traverseFiles().
    const QStringList &strandedPaths() const { return m_strandedPaths; }

    TagsReader &reader() { return m_reader; }
    UserInterface *ui() const { return m_ui; }

private:
    // Announced structural changes nest; observers hear only the outermost pair.
    void beginChange();
    void endChange();
    // The mutations of the list, each told to the observers by rows; call them between
    // beginChange() and endChange().
    void insertSongs(size_t row, SongList songs);
    void removeSongRange(size_t first, size_t last);
    void moveSongRange(size_t first, size_t last, size_t destination);
    void removeAllSongs();
    template <typename Notice>
    void tellObservers(Notice notice);
    // The walk of traverseFile() below the path it was given.
    void collect(const QString &path, QStringList *musicFiles, QSet<QString> *excludes);
    // Walks a folder, once per walk, depth first in name order. canonical is the folder's path
    // with every link resolved; isLinkFree says the path itself is no link (its parent listed
    // it as a folder), so that a link put there since is not followed.
    void collectFolder(const QString &path, const QString &canonical, bool isLinkFree, QStringList *musicFiles);
    // A folder entry the listing could not type (a link, or no type given): looked up once.
    void collectLookedUp(const QString &path, QStringList *musicFiles);
    // Gives the files parked by interrupted renames in the folder their names back, and puts
    // those names in the listing in place of the hidden folders.
    void restoreInterruptedRenames(const QString &path, FolderListing::Listing *listing);
    void beginWalk();
    void endWalk();

    UserInterface *m_ui;
    SongList m_songs;
    TagsReader m_reader;
    QList<SongListObserver *> m_observers;
    int m_changeDepth = 0;
    QStringList m_skippedPaths;
    QStringList m_strandedPaths;
    // Canonical paths of the folders entered during the current walk (one traverseFiles()
    // batch, or one outside call of traverseFile()): a folder reached again through a link is
    // not entered twice, so links that lead back into the walk cannot make it endless.
    QSet<QString> m_visitedFolders;
    int m_walkDepth = 0;
};
