#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class Cover;

// One release found online as the lookup shows it: release-wide values, index-aligned track
// rows (disc, track, title, title artist, checked flag) and the release's covers. The five row
// lists always have the same length once a row is complete; entry i of each is row i. Not
// synchronized: built on one thread, then handed over whole; afterwards only flags change.
class Release {
public:
    Release() = default;
    // Clears the back reference of each cover, which may outlive the release.
    ~Release();
    Release(const Release &) = delete;
    Release &operator=(const Release &) = delete;

    const QString &artist() const { return m_artist; }
    void setArtist(const QString &artist) { m_artist = artist; }
    const QString &album() const { return m_album; }
    void setAlbum(const QString &album) { m_album = album; }
    const QString &genre() const { return m_genre; }
    void setGenre(const QString &genre) { m_genre = genre; }
    // 0 means unknown.
    qint64 year() const { return m_year; }
    void setYear(qint64 year) { m_year = year; }

    // Disc numbers as decimal text.
    const QStringList &discs() const { return m_discs; }
    qsizetype countOfDiscs() const { return m_discs.size(); }
    QString objectInDiscsAtIndex(qsizetype index) const { return m_discs.at(index); }
    void insertObjectInDiscsAtIndex(const QString &disc, qsizetype index)
    {
        m_discs.insert(index, disc);
    }
    void removeObjectFromDiscsAtIndex(qsizetype index) { m_discs.removeAt(index); }
    void addDisc(const QString &disc) { m_discs.append(disc); }

    const QStringList &tracks() const { return m_tracks; }
    qsizetype countOfTracks() const { return m_tracks.size(); }
    QString objectInTracksAtIndex(qsizetype index) const { return m_tracks.at(index); }
    void insertObjectInTracksAtIndex(const QString &track, qsizetype index)
    {
        m_tracks.insert(index, track);
    }
    void removeObjectFromTracksAtIndex(qsizetype index) { m_tracks.removeAt(index); }
    void addTrack(const QString &track) { m_tracks.append(track); }

    const QStringList &titles() const { return m_titles; }
    qsizetype countOfTitles() const { return m_titles.size(); }
    QString objectInTitlesAtIndex(qsizetype index) const { return m_titles.at(index); }
    void insertObjectInTitlesAtIndex(const QString &title, qsizetype index)
    {
        m_titles.insert(index, title);
    }
    void removeObjectFromTitlesAtIndex(qsizetype index) { m_titles.removeAt(index); }
    void addTitle(const QString &title) { m_titles.append(title); }

    const QStringList &titleArtists() const { return m_titleArtists; }
    qsizetype countOfTitleArtists() const { return m_titleArtists.size(); }
    QString objectInTitleArtistsAtIndex(qsizetype index) const { return m_titleArtists.at(index); }
    void insertObjectInTitleArtistsAtIndex(const QString &titleArtist, qsizetype index)
    {
        m_titleArtists.insert(index, titleArtist);
    }
    void removeObjectFromTitleArtistsAtIndex(qsizetype index) { m_titleArtists.removeAt(index); }
    void addTitleArtist(const QString &titleArtist) { m_titleArtists.append(titleArtist); }

    // 1 = checked (the row is applied to a song), 0 = unchecked.
    const QList<int> &flags() const { return m_flags; }
    qsizetype countOfFlags() const { return m_flags.size(); }
    int objectInFlagsAtIndex(qsizetype index) const { return m_flags.at(index); }
    void insertObjectInFlagsAtIndex(int flag, qsizetype index) { m_flags.insert(index, flag); }
    void removeObjectFromFlagsAtIndex(qsizetype index) { m_flags.removeAt(index); }
    void addFlag(int flag) { m_flags.append(flag); }
    // The only change of a row after publication: checking and unchecking.
    void replaceObjectInFlagsAtIndex(qsizetype index, int withObject)
    {
        m_flags[index] = withObject;
    }

    // In the order of the document's images. Adding does not set the cover's rel; removing
    // clears it when it points here.
    const QList<std::shared_ptr<Cover>> &covers() const { return m_covers; }
    qsizetype countOfCovers() const { return m_covers.size(); }
    std::shared_ptr<Cover> objectInCoversAtIndex(qsizetype index) const
    {
        return m_covers.at(index);
    }
    void insertObjectInCoversAtIndex(std::shared_ptr<Cover> cover, qsizetype index);
    void removeObjectFromCoversAtIndex(qsizetype index);
    void addCover(std::shared_ptr<Cover> cover);

    // "<artist> | <album> | <genre> | <year>". For logs.
    QString description() const;

private:
    QString m_artist;
    QString m_album;
    QString m_genre;
    qint64 m_year = 0;
    QStringList m_discs;
    QStringList m_tracks;
    QStringList m_titles;
    QStringList m_titleArtists;
    QList<int> m_flags;
    QList<std::shared_ptr<Cover>> m_covers;
};
