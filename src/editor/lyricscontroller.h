#pragma once

#include "editor/editorcontroller.h"
#include "model/noneindex.h"
#include "model/songobserverset.h"

#include <QList>
#include <QObject>
#include <QString>

class Song;

// The lyrics panel: the lyrics of one lead song among the selected songs, a cursor that steps
// through the selection with wrap-around, and the edits, which go into the lead song only.
//
// The controller follows the selection: the window calls selectionDidChange() when the table
// selection changed, and the controller hears by itself of changes of the song list and of the
// artist or title of a selected song. Each effective change of the selected songs (other songs,
// another order, an artist or title changed) brings the cursor back to the first selected song.
// The lyrics of the lead song changed by other means are shown anew where the cursor stands.
// The panel window and its memory across runs belong to ToolPanels. The song controller must
// outlive this one.
class LyricsController : public QObject, private SongListObserver, private SongObserver {
    Q_OBJECT

public:
    explicit LyricsController(EditorController *songsController, QObject *parent = nullptr);
    ~LyricsController() override;

    // The text shown; empty at start.
    const QString &lyrics() const { return m_lyrics; }
    // Position of the lead song among the selected songs, or NoneIndex until the selection
    // first changes.
    qint64 leadSongCursor() const { return m_cursor; }
    // The song the cursor points at; null without one.
    Song *leadSong() const;
    // How many songs are selected, as last taken.
    qsizetype selectedCount() const { return m_selected.size(); }

    // Commands.
    void moveLeadSongForward();
    void moveLeadSongBackward();
    // The person's edit: shown, and stored in the lead song alone. A null text, or the text
    // shown, changes nothing; with no song selected nothing is written.
    void setLyrics(const QString &text);

    // Shows the lyrics of the lead song (the empty text without one) and announces the texts.
    void updateLeadSongWithCursor();
    // Which song is shown: "Artist - Title", or its file name when either is empty;
    // "NoSongsSelected" with none.
    QString selectionMessage() const;
    // Where the lead song stands: empty without a cursor or a selection, "OneSongSelected" for
    // one song, else "SeveralSongsSelected" with the position and the count.
    QString statusMessage() const;

    // Entry point of the window: the table selection changed.
    void selectionDidChange();

signals:
    void lyricsChanged(const QString &lyrics);
    // The selection and status texts may read differently.
    void messagesChanged();

private:
    // Takes the selected songs as they are now; true if they differ from the ones held.
    bool takeSelection();
    void subscribe(const QList<Song *> &songs);
    void unsubscribe(const QList<Song *> &songs);
    // Back to the first selected song.
    void restart();
    // Drops songs about to leave the list from the ones held.
    void forgetRows(int first, int last);

    // SongListObserver
    void songsDidChange() override;
    void songsWillBeRemoved(int first, int last) override;
    void songsWillBeReset() override;
    void songsSorted(const std::vector<int> &previousRows) override;

    // SongObserver
    void songFieldChanged(Song &song, SongField field) override;

    EditorController *m_songsController;
    QList<Song *> m_selected;
    QString m_lyrics;
    qint64 m_cursor = NoneIndex;
    // Set while an edit is written into the lead song: the song's own notice is no news.
    bool m_writing = false;
    // A selected song left the list since the selection was last taken.
    bool m_heldSongLeft = false;
};
