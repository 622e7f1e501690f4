#include "editor/lyricscontroller.h"

#include "model/localized.h"
#include "model/song.h"

#include <algorithm>

namespace {

// A song's lyrics as a text to show: never null, so that showing them is never "no argument".
QString shownText(const QString &lyrics)
{
    return lyrics.isNull() ? QStringLiteral("") : lyrics;
}

// The same songs in the same order. (QList's own comparison hands a null buffer to memcmp when
// both lists are empty.)
bool isSameList(const QList<Song *> &a, const QList<Song *> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend());
}

} // namespace

LyricsController::LyricsController(EditorController *songsController, QObject *parent)
    : QObject(parent)
    , m_songsController(songsController)
{
    m_songsController->addObserver(this);
    // A panel made while songs are selected starts on the first of them.
    if (takeSelection())
        restart();
}

LyricsController::~LyricsController()
{
    unsubscribe(m_selected);
    m_songsController->removeObserver(this);
}

Song *LyricsController::leadSong() const
{
    if (m_cursor == NoneIndex || m_cursor >= m_selected.size())
        return nullptr;
    return m_selected.at(m_cursor);
}

void LyricsController::moveLeadSongForward()
{
    if (m_cursor == NoneIndex)
        return;
    m_cursor = m_cursor >= m_selected.size() - 1 ? 0 : m_cursor + 1;
    updateLeadSongWithCursor();
}

void LyricsController::moveLeadSongBackward()
{
    if (m_cursor == NoneIndex)
        return;
    m_cursor = m_cursor <= 0 ? std::max<qint64>(m_selected.size() - 1, 0) : m_cursor - 1;
    updateLeadSongWithCursor();
}

void LyricsController::setLyrics(const QString &text)
{
    if (text.isNull() || text == m_lyrics)
        return;
    m_lyrics = text;
    emit lyricsChanged(m_lyrics);
    if (Song *lead = leadSong()) {
        m_writing = true;
        lead->setLyrics(text);
        m_writing = false;
    }
}

void LyricsController::updateLeadSongWithCursor()
{
    const Song *lead = leadSong();
    setLyrics(lead ? shownText(lead->lyrics()) : QStringLiteral(""));
    emit messagesChanged();
}

QString LyricsController::selectionMessage() const
{
    const Song *lead = leadSong();
    if (!lead)
        return Localized::text("NoSongsSelected");
    if (!lead->artist().isEmpty() && !lead->title().isEmpty())
        return Localized::text("ArtistXTitleY").arg(lead->artist(), lead->title());
    return lead->fileName();
}

QString LyricsController::statusMessage() const
{
    if (m_cursor == NoneIndex || m_selected.isEmpty())
        return QString();
    if (m_selected.size() == 1)
        return Localized::text("OneSongSelected");
    return Localized::text("SeveralSongsSelected").arg(m_cursor + 1).arg(m_selected.size());
}

void LyricsController::selectionDidChange()
{
    if (takeSelection())
        restart();
}

bool LyricsController::takeSelection()
{
    const QList<Song *> current = m_songsController->selectedObjects();
    if (isSameList(current, m_selected) && !m_heldSongLeft)
        return false;
    m_heldSongLeft = false;
    unsubscribe(m_selected);
    m_selected = current;
    subscribe(m_selected);
    return true;
}

void LyricsController::subscribe(const QList<Song *> &songs)
{
    for (Song *song : songs)
        song->addObserver(this);
}

void LyricsController::unsubscribe(const QList<Song *> &songs)
{
    for (Song *song : songs)
        song->removeObserver(this);
}

void LyricsController::restart()
{
    m_cursor = 0;
    updateLeadSongWithCursor();
}

void LyricsController::forgetRows(int first, int last)
{
    const SongList &songs = m_songsController->songs();
    for (int row = first; row <= last && size_t(row) < songs.size(); ++row) {
        Song *leaving = songs.at(size_t(row)).get();
        if (m_selected.removeAll(leaving) > 0) {
            leaving->removeObserver(this);
            // What is held no longer stands for a selection: the next look restarts.
            m_heldSongLeft = true;
        }
    }
}

void LyricsController::songsDidChange()
{
    selectionDidChange();
}

void LyricsController::songsWillBeRemoved(int first, int last)
{
    forgetRows(first, last);
}

void LyricsController::songsWillBeReset()
{
    forgetRows(0, int(m_songsController->songs().size()) - 1);
}

void LyricsController::songsSorted(const std::vector<int> &previousRows)
{
    Q_UNUSED(previousRows);
    selectionDidChange();
}

void LyricsController::songFieldChanged(Song &song, SongField field)
{
    switch (field) {
    case SongField::Artist:
    case SongField::Title:
        // Back to the first song; on it already, only the lead song's own name can read anew.
        // (A field set across a large selection tells of every song.)
        if (m_cursor != 0)
            restart();
        else if (&song == leadSong())
            emit messagesChanged();
        break;
    case SongField::Lyrics:
        if (!m_writing && &song == leadSong())
            updateLeadSongWithCursor();
        break;
    case SongField::FileName:
        if (&song == leadSong())
            emit messagesChanged();
        break;
    default:
        break;
    }
}
