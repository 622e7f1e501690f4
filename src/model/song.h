#pragma once

#include "model/image.h"
#include "model/songobserverset.h"

#include <QList>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <cstdint>
#include <optional>

// The in-memory record of one audio file. Every edit goes through the setters, which validate,
// trim and flag. Songs have identity: they are not copyable, and two songs are equal only if
// they are the same object. A song is changed on one thread at a time (readers fill fresh songs
// on worker threads before anyone observes them).
//
// Text setters take a QString; a null QString stands for "no argument" and is ignored, an empty
// one is a real value.
class Song {
public:
    Song();
    Song(const Song &) = delete;
    Song &operator=(const Song &) = delete;

    // Subscribes an observer to every change of this song; adding one twice has no effect.
    void addObserver(SongObserver *observer) { m_observers.add(observer); }
    void removeObserver(SongObserver *observer) { m_observers.remove(observer); }
    bool hasObserver(const SongObserver *observer) const { return m_observers.contains(observer); }
    int observerCount() const { return m_observers.size(); }
    // Tells the observers that a field changed without changing it, so that what is shown from
    // it is rebuilt (clearing the genre history rebuilds the genre choices this way).
    void announceChange(SongField field) { notifyField(field); }

    // Stored values.
    const QString &track() const { return m_track; }
    const QString &title() const { return m_title; }
    const QString &artist() const { return m_artist; }
    const QString &albumArtist() const { return m_albumArtist; }
    const QString &composer() const { return m_composer; }
    const QString &album() const { return m_album; }
    const QString &disc() const { return m_disc; }
    const QString &genre() const { return m_genre; }
    qint64 year() const { return m_year; }
    const QString &comment() const { return m_comment; }
    const QString &lyrics() const { return m_lyrics; }
    qint64 isCompilation() const { return m_isCompilation; }
    qint32 bitrate() const { return m_bitrate; }
    qint32 length() const { return m_length; }
    // Null until loading sets it: the wanted file name, with extension.
    const QString &fileName() const { return m_fileName; }
    const QString &filePath() const { return m_filePath; }
    bool isRenamable() const { return m_isRenamable; }

    // Validating setters.
    void setTrack(const QString &track);
    void setTitle(const QString &title);
    void setArtist(const QString &artist);
    void setAlbumArtist(const QString &albumArtist);
    void setComposer(const QString &composer);
    void setAlbum(const QString &album);
    void setDisc(const QString &disc);
    void setGenre(const QString &genre);
    void setYear(qint64 year);
    void setYear(const QString &year); // leading decimal integer; null is ignored
    void setComment(const QString &comment);
    void setLyrics(const QString &lyrics);
    void setIsCompilation(qint64 isCompilation);
    void setIsCompilation(const QString &isCompilation); // leading decimal integer; null counts as 0
    void setFileName(const QString &fileName);
    void noCheck_setFileName(const QString &fileName);
    void noCheck_setTrack(const QString &track);
    void noCheck_setDisc(const QString &disc);

    // Plain properties: no validation, no flag.
    void setBitrate(qint32 bitrate);
    void setLength(qint32 length);
    void setFilePath(const QString &filePath);
    void setIsRenamable(bool isRenamable);

    // The identity of the file on disk when it was loaded or last saved (FileIdentity::ofPath),
    // empty when unknown. Saving refuses to write into a file whose identity changed since.
    // A plain property: no validation, no flag, no notification.
    const QByteArray &fileIdentity() const { return m_fileIdentity; }
    void setFileIdentity(const QByteArray &fileIdentity) { m_fileIdentity = fileIdentity; }

    // Access by property name ("track", "albumArtist", "fileName", "year", "isCompilation",
    // "bitrate", "length", "filePath", "isRenamable", ...). Writing calls the same setter as a
    // direct call; an invalid QVariant stands for a null argument. Unknown names read as an
    // invalid QVariant and are ignored when written. The derived numbers "trackNumber",
    // "trackCount", "discNumber", "discCount" and "fileNameWithoutExtension" can be read by name
    // too (not written; isKey() is false for them).
    QVariant valueForKey(QStringView key) const;
    void setValueForKey(QStringView key, const QVariant &value);
    static bool isKey(QStringView key);
    // The field a property name stands for, and the name of a field.
    static std::optional<SongField> fieldForKey(QStringView key);
    static QString keyForField(SongField field);

    // Number pairs: "n", "n/N", "/N", "n/" or "".
    static bool isNumeric(const QString &text);
    static QString firstStringInPair(const QString &text);
    static QString secondStringInPair(const QString &text);
    static qint32 firstNaturalNumberInPair(const QString &text);
    static qint32 secondNaturalNumberInPair(const QString &text);
    static bool isValidNaturalNumberOrPair(const QString &text);

    bool hasTrackCount() const;
    bool hasDiscCount() const;
    qint32 trackNumber() const;
    qint32 trackCount() const;
    qint32 discNumber() const;
    qint32 discCount() const;
    QString trackNumberAsString() const;
    QString trackCountAsString() const;
    QString discNumberAsString() const;
    QString discCountAsString() const;

    // Images: an ordered list without two equal pictures.
    const QList<Image> &images() const { return m_images; }
    int countOfImages() const { return int(m_images.size()); }
    const Image &objectInImagesAtIndex(int index) const { return m_images.at(index); }
    void insertObject(const Image &image, int inImagesAtIndex);
    void removeObjectFromImagesAtIndex(int index);
    void addImage(const Image &image);
    void removeImage(const Image &image);
    void removeAllImages();

    // Modification state.
    bool isModified() const { return m_mods != 0; }
    // The flag of a field; false for the plain properties, which carry none.
    bool isModified(SongField field) const { return m_mods & bit(field); }
    bool isTrackModified() const { return isModified(SongField::Track); }
    bool isTitleModified() const { return isModified(SongField::Title); }
    bool isArtistModified() const { return isModified(SongField::Artist); }
    bool isAlbumModified() const { return isModified(SongField::Album); }
    bool isDiscModified() const { return isModified(SongField::Disc); }
    bool isAlbumArtistModified() const { return isModified(SongField::AlbumArtist); }
    bool isComposerModified() const { return isModified(SongField::Composer); }
    bool isGenreModified() const { return isModified(SongField::Genre); }
    bool isYearModified() const { return isModified(SongField::Year); }
    bool isCommentModified() const { return isModified(SongField::Comment); }
    bool isLyricsModified() const { return isModified(SongField::Lyrics); }
    bool isCompilationModified() const { return isModified(SongField::IsCompilation); }
    bool isFileNameModified() const { return isModified(SongField::FileName); }
    bool isImagesModified() const { return isModified(SongField::Images); }
    void resetModifications();

    // File helpers.
    QString folder() const;
    QString extension() const;
    QString fileNameWithoutExtension() const;
    bool isMP3() const;
    bool isM4A() const;
    bool isFLAC() const;
    bool isAIFF() const;
    bool isWAV() const;
    bool isFileNameSane() const;
    QUrl previewItemURL() const;
    QString description() const;

private:
    static constexpr std::uint16_t bit(SongField field)
    {
        return int(field) < SongFlaggedFieldCount ? std::uint16_t(1u << unsigned(field)) : 0;
    }

    // The text-setter rule; true if the value changed.
    bool setText(QString &slot, const QString &value, SongField field);
    // Stores a new value for a text field and flags it; the caller has checked the guard.
    void storeText(QString &slot, const QString &value, SongField field);
    void setFlag(SongField field);
    void notifyField(SongField field);
    void willChangeModified();
    void didChangeModified();

    QString m_track;
    QString m_title;
    QString m_artist;
    QString m_albumArtist;
    QString m_composer;
    QString m_album;
    QString m_disc;
    QString m_genre;
    qint64 m_year = 0;
    QString m_comment;
    QString m_lyrics;
    qint64 m_isCompilation = 0;
    qint32 m_bitrate = 0;
    qint32 m_length = 0;
    QString m_fileName;
    QString m_filePath;
    bool m_isRenamable = true;
    QByteArray m_fileIdentity;
    QList<Image> m_images;
    std::uint16_t m_mods = 0;
    SongObserverSet m_observers;
};
