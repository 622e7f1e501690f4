#pragma once

#include "model/song.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

class EditorController;

// Editing the tag fields of the field area across the selection: a committed value goes to
// every selected song, in selection order, through the song's own setter (which validates,
// trims, flags and applies the artist bindings). Also the Clear commands, the genre history and
// the link between artist and album artist. The controller must outlive the editor.
class FieldEditor {
public:
    // The editing commands the field editors forward (the Return key of a field, anything else).
    enum class TextCommand {
        InsertNewline,
        Other,
    };

    explicit FieldEditor(EditorController *songsController);

    // The field's setter, by property name ("title", "albumArtist", "year", ...), with the
    // value on every selected song. An invalid QVariant is the null argument the setters ignore.
    void setValueForKey(QStringView key, const QVariant &value);
    void setValue(SongField field, const QVariant &value);

    // The Clear commands; each does nothing with an empty selection.
    void clearTitle();
    void clearArtist();
    void clearAlbumArtist();
    void clearComposer();
    void clearAlbum();
    void clearTrackNumber();
    void clearDisc();
    // With alternate (the Option/Alt key held) the genre history is emptied instead and the
    // first selected song announces a change of its genre, unchanged, so that the genre
    // choices are rebuilt.
    void clearGenre(bool alternate = false);
    void clearYear();
    void clearComment();

    // Records the genre field's text in the genre history: empty texts are not recorded, a
    // known genre moves to the front, a new one is put in front and the list cut to ten.
    void setGenre(const QString &genreFieldText);
    // Choosing a genre from the list records it as well.
    void comboBoxSelectionDidChange(const QString &genreFieldText);
    // The history rule itself, on a given list.
    static QStringList recordGenre(const QString &genre, const QStringList &inHistory);
    static QStringList genreHistory();
    static constexpr int GenreHistoryLength = 10;

    // Flips BIND_ALBUM_ARTIST_TO_ARTIST, then applyArtistToAlbumArtist().
    void toggleArtistsLink();
    // While BIND_ALBUM_ARTIST_TO_ARTIST is on: every selected song's album artist becomes its
    // own artist.
    void applyArtistToAlbumArtist();

    // A command typed into a field editor. Return in the artist field copies the artists into
    // the album artists while the link is on. Always answers false (not handled), so that the
    // key goes on to commit the field.
    bool doCommandBySelector(SongField control, TextCommand command);
    // The field editors offer no word completion.
    QStringList completions(SongField control, const QString &forPartialWord) const;

private:
    EditorController *m_songsController;
};
