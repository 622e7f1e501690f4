#pragma once

#include "editor/songloading.h"
#include "editor/standardfolders.h"
#include "tags/tagsreader.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <vector>

class ProgressDisplay;
class Song;
class SongTableState;
class UserInterface;
class UserQuestions;

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
// them out or moves them. Runs on the thread that calls it, which has an event loop (a
// QCoreApplication); talks to the user only through the parts of the front end it is given,
// which must outlive the controller.
//
// Loading reads on worker threads. By default a command that loads waits for the load to end
// (the command line, the tests); with setLoadsInBackground() it returns at once and the songs
// enter the list in batches on this thread while the event loop runs. Loads run one at a time,
// in the order asked, and give the same list, flags, questions and selection either way.
class EditorController {
public:
    EditorController(UserQuestions *questions, ProgressDisplay *progress, SongTableState *table);
    // A front end that has all three parts in one object.
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
    // Collects the music files under one path as a load does, on the calling thread.
    void traverseFile(const QString &path, QStringList *andAddMusicFiles, QSet<QString> *andExcludes);
    bool confirmEdRenameRestriction();
    // Rows in descending order.
    void moveSongs(const QList<int> &rows, int toRow);
    void sortUsingDescriptors(const QList<SortDescriptor> &descriptors);

    // The extensions, lower case, of the files that loading reads.
    static const QStringList &musicExtensions();
    static bool hasMusicExtension(const QString &path);

    void setLoadsInBackground(bool background) { m_loadsInBackground = background; }
    bool loadsInBackground() const { return m_loadsInBackground; }
    // Whether a load is running or waiting to run.
    bool isLoading() const { return m_loading != nullptr || !m_loadQueue.empty(); }
    // Stops the running load: the songs read so far stay, in order; the walk and the files not
    // yet read are given up. Loads asked for after it still run.
    void cancelLoading();
    // Runs the event loop until no load is running or waiting.
    void waitForLoading();
    // Set by the save while it runs: loads asked for meanwhile wait for its end, and the
    // commands that remove or move songs do nothing, since the save reads the songs on another
    // thread.
    void setSaving(bool saving);
    bool isSaving() const { return m_saving; }

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
    UserQuestions *questions() const { return m_questions; }
    ProgressDisplay *progress() const { return m_progress; }
    SongTableState *table() const { return m_table; }

private:
    friend class SongLoading;

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
    // Queues a load, starts it when nothing runs, and waits for it unless loads run in the
    // background.
    void load(SongLoading::Request request);
    void startNextLoad();
    void loadEnded();

    UserQuestions *m_questions;
    ProgressDisplay *m_progress;
    SongTableState *m_table;
    SongList m_songs;
    TagsReader m_reader;
    QList<SongListObserver *> m_observers;
    int m_changeDepth = 0;
    QStringList m_skippedPaths;
    QStringList m_strandedPaths;
    bool m_loadsInBackground = false;
    bool m_saving = false;
    std::deque<SongLoading::Request> m_loadQueue;
    std::unique_ptr<SongLoading> m_loading;
    // The load that ended last, kept until the next one ends: it tells of its end from inside.
    std::unique_ptr<SongLoading> m_endedLoading;
};
