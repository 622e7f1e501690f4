#include "editor/fieldeditor.h"

#include "editor/editorcontroller.h"
#include "model/userdefaults.h"

namespace {

const QString GenreHistoryKey = QStringLiteral("GENRE_HISTORY");
const QString BindAlbumArtistKey = QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST");

bool isArtistLinked()
{
    return UserDefaults::shared().boolForKey(BindAlbumArtistKey);
}

} // namespace

FieldEditor::FieldEditor(EditorController *songsController)
    : m_songsController(songsController)
{
}

void FieldEditor::setValueForKey(QStringView key, const QVariant &value)
{
    for (Song *song : m_songsController->selectedObjects())
        song->setValueForKey(key, value);
}

void FieldEditor::setValue(SongField field, const QVariant &value)
{
    setValueForKey(Song::keyForField(field), value);
}

void FieldEditor::clearTitle()
{
    for (Song *song : m_songsController->selectedObjects())
        song->setTitle(QStringLiteral(""));
}

void FieldEditor::clearArtist()
{
    for (Song *song : m_songsController->selectedObjects())
        song->setArtist(QStringLiteral(""));
}

void FieldEditor::clearAlbumArtist()
{
    for (Song *song : m_songsController->selectedObjects())
        song->setAlbumArtist(QStringLiteral(""));
}

void FieldEditor::clearComposer()
{
    for (Song *song : m_songsController->selectedObjects())
        song->setComposer(QStringLiteral(""));
}

void FieldEditor::clearAlbum()
{
    for (Song *song : m_songsController->selectedObjects())
        song->setAlbum(QStringLiteral(""));
}

void FieldEditor::clearTrackNumber()
{
    for (Song *song : m_songsController->selectedObjects())
        song->setTrack(QStringLiteral(""));
}

void FieldEditor::clearDisc()
{
    for (Song *song : m_songsController->selectedObjects())
        song->setDisc(QStringLiteral(""));
}

void FieldEditor::clearGenre(bool alternate)
{
    const QList<Song *> selection = m_songsController->selectedObjects();
    if (!alternate) {
        for (Song *song : selection)
            song->setGenre(QStringLiteral(""));
        return;
    }
    UserDefaults::shared().setObject(QStringList(), GenreHistoryKey);
    if (!selection.isEmpty())
        selection.first()->announceChange(SongField::Genre);
}

void FieldEditor::clearYear()
{
    for (Song *song : m_songsController->selectedObjects())
        song->setYear(qint64(0));
}

void FieldEditor::clearComment()
{
    for (Song *song : m_songsController->selectedObjects())
        song->setComment(QStringLiteral(""));
}

void FieldEditor::setGenre(const QString &genreFieldText)
{
    if (genreFieldText.isEmpty())
        return;
    UserDefaults::shared().setObject(recordGenre(genreFieldText, genreHistory()), GenreHistoryKey);
}

void FieldEditor::comboBoxSelectionDidChange(const QString &genreFieldText)
{
    setGenre(genreFieldText);
}

QStringList FieldEditor::recordGenre(const QString &genre, const QStringList &inHistory)
{
    if (genre.isEmpty())
        return inHistory;
    QStringList history = inHistory;
    const qsizetype at = history.indexOf(genre);
    if (at >= 0) {
        history.move(at, 0);
        return history;
    }
    history.prepend(genre);
    if (history.size() > GenreHistoryLength)
        history.resize(GenreHistoryLength);
    return history;
}

QStringList FieldEditor::genreHistory()
{
    return UserDefaults::shared().stringArrayForKey(GenreHistoryKey);
}

void FieldEditor::toggleArtistsLink()
{
    UserDefaults::shared().setBool(!isArtistLinked(), BindAlbumArtistKey);
    applyArtistToAlbumArtist();
}

void FieldEditor::applyArtistToAlbumArtist()
{
    if (!isArtistLinked())
        return;
    for (Song *song : m_songsController->selectedObjects())
        song->setAlbumArtist(song->artist());
}

bool FieldEditor::doCommandBySelector(SongField control, TextCommand command)
{
    if (control == SongField::Artist && command == TextCommand::InsertNewline)
        applyArtistToAlbumArtist();
    return false;
}

QStringList FieldEditor::completions(SongField control, const QString &forPartialWord) const
{
    Q_UNUSED(control);
    Q_UNUSED(forPartialWord);
    return {};
}
