#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <QByteArray>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class Song;
class Writer;
class MP3Writer;
class M4AWriter;
class FLACWriter;
class AIFFWriter;
class WAVWriter;

// What one save pass did. The error text holds the first ten entries, each ending with a line
// break; errorCount counts every failure, also those beyond the ten. The caller ends the text
// with ErrorUtil's line about the entries left out before showing it.
struct SaveReport {
    QString errorText;
    quint64 errorCount = 0;
    // Songs whose tags were saved, and files moved to their new name (in a dry run: that would
    // have been).
    int savedCount = 0;
    int renamedCount = 0;
    // The files of the songs a stopped pass did not come to, in list order; they keep every
    // flag.
    QStringList notReachedPaths;

    bool hasErrors() const { return !errorText.isEmpty() || errorCount > 0; }
};

// What a save pass changes on one song once its file is done: the identity of the saved file,
// the path of a renamed one, and the flags cleared when the song was done in full.
struct SongSaveChanges {
    std::optional<QByteArray> fileIdentity;
    std::optional<QString> filePath;
    bool resetModifications = false;

    void applyTo(Song &song) const;
};

// For a pass that runs on another thread than the one that owns the songs.
struct SaveHooks {
    // Settable from any thread: stops the pass before its next file, as the writer's stop flag.
    const std::atomic<bool> *cancel = nullptr;
    // Called on the pass's thread after each song written, in list order, with what is to change
    // on it. The pass changes nothing on the songs then: the callee applies the changes (on the
    // songs' own thread), so that no one who watches the songs hears of them from the pass's
    // thread. Without it the pass applies them itself.
    std::function<void(Song *song, const SongSaveChanges &changes)> songDone;
};

// Saves songs into their files: picks the writer by type, saves with the settings of the pass,
// renames files whose name was changed, and clears the flags of every song done in full.
// Runs on the calling thread; opens each file only for the time of its save.
class TagsWriter {
public:
    TagsWriter();
    ~TagsWriter();
    TagsWriter(const TagsWriter &) = delete;
    TagsWriter &operator=(const TagsWriter &) = delete;

    // The save pass over the songs, in list order: every modified song (every song when forced)
    // of a known type is written and, if its file name changed, renamed. A file is written only
    // while it is still the regular, writable file that was loaded; a rename never replaces an
    // existing file; a song whose only change is its file name is renamed without writing its
    // file. Songs done in full are left unmodified; the others keep every flag.
    SaveReport writeFiles(const QList<Song *> &songs, bool forced);
    // The same with hooks. The songs are only read then, so they must not change until the pass
    // has ended.
    SaveReport writeFiles(const QList<Song *> &songs, bool forced, const SaveHooks &hooks);
    // Whether a pass writes the song: it is modified (or the pass forced) and of a known type.
    bool willWrite(const Song &song, bool forced) const;

    // A dry run checks what it can and reports as a real pass would, but writes and renames
    // nothing and keeps every flag.
    void setDryRun(bool dryRun) { m_dryRun = dryRun; }
    bool isDryRun() const { return m_dryRun; }

    // A flag that stops a pass before its next file once it is set, from any thread (a cancel
    // button) or a signal handler: the file in hand is finished, no further one is touched.
    // Not owned; it must outlive the passes. Null, the default, for none.
    void setStopFlag(const std::atomic<bool> *stop) { m_stop = stop; }

    // The writer for the song's type (MP3, M4A, FLAC, AIFF, WAV tested in this order), or null.
    const Writer *writerForSong(const Song &song) const;

    // Where a rename puts the song's file: its folder, the sanitized name without extension and
    // the extension as the wanted name spells it. Empty when nothing of the name is left.
    static QString renamedPath(const Song &song);
    // The same for a name wanted for a file in folder whose own extension is extension.
    static QString renamedPath(const QString &folder, const QString &wantedName, const QString &extension);

private:
    std::unique_ptr<MP3Writer> m_mp3Writer;
    std::unique_ptr<M4AWriter> m_m4aWriter;
    std::unique_ptr<FLACWriter> m_flacWriter;
    std::unique_ptr<AIFFWriter> m_aiffWriter;
    std::unique_ptr<WAVWriter> m_wavWriter;
    bool m_dryRun = false;
    const std::atomic<bool> *m_stop = nullptr;
};
