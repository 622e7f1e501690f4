#include "model/song.h"

#include <array>

// Reading and writing the fields of a song by property name, for the TSV import and the token
// vocabulary. Writing goes through the same setters as direct calls.

namespace {

struct FieldName {
    QStringView key;
    SongField field;
};

constexpr std::array<FieldName, 18> FieldNames{{
    {u"track", SongField::Track},
    {u"title", SongField::Title},
    {u"artist", SongField::Artist},
    {u"album", SongField::Album},
    {u"disc", SongField::Disc},
    {u"albumArtist", SongField::AlbumArtist},
    {u"composer", SongField::Composer},
    {u"genre", SongField::Genre},
    {u"year", SongField::Year},
    {u"comment", SongField::Comment},
    {u"lyrics", SongField::Lyrics},
    {u"isCompilation", SongField::IsCompilation},
    {u"fileName", SongField::FileName},
    {u"images", SongField::Images},
    {u"bitrate", SongField::Bitrate},
    {u"length", SongField::Length},
    {u"filePath", SongField::FilePath},
    {u"isRenamable", SongField::IsRenamable},
}};

// A null QString for an invalid QVariant: the setters ignore it.
QString textArgument(const QVariant &value)
{
    return value.isValid() ? value.toString() : QString();
}

// The read-only properties computed from the stored values: the numbers of the track and disc
// pairs (the token vocabulary reads them) and the file name without its extension (extraction
// reads it). An invalid QVariant for any other name.
QVariant derivedValueForKey(const Song &song, QStringView key)
{
    if (key == u"trackNumber")
        return song.trackNumber();
    if (key == u"trackCount")
        return song.trackCount();
    if (key == u"discNumber")
        return song.discNumber();
    if (key == u"discCount")
        return song.discCount();
    if (key == u"fileNameWithoutExtension")
        return song.fileNameWithoutExtension();
    return QVariant();
}

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
}

} // namespace

std::optional<SongField> Song::fieldForKey(QStringView key)
{
    for (const FieldName &name : FieldNames) {
        if (name.key == key)
            return name.field;
    }
    return std::nullopt;
}

QString Song::keyForField(SongField field)
{
    for (const FieldName &name : FieldNames) {
        if (name.field == field)
            return name.key.toString();
    }
    return QString();
}

bool Song::isKey(QStringView key)
{
    return fieldForKey(key).has_value();
}

QVariant Song::valueForKey(QStringView key) const
{
    const std::optional<SongField> field = fieldForKey(key);
    if (!field)
        return derivedValueForKey(*this, key);
    switch (*field) {
    case SongField::Track: return m_track;
    case SongField::Title: return m_title;
    case SongField::Artist: return m_artist;
    case SongField::Album: return m_album;
    case SongField::Disc: return m_disc;
    case SongField::AlbumArtist: return m_albumArtist;
    case SongField::Composer: return m_composer;
    case SongField::Genre: return m_genre;
    case SongField::Year: return m_year;
    case SongField::Comment: return m_comment;
    case SongField::Lyrics: return m_lyrics;
    case SongField::IsCompilation: return m_isCompilation;
    case SongField::FileName: return m_fileName;
    case SongField::Images: return QVariant::fromValue(m_images);
    case SongField::Bitrate: return m_bitrate;
    case SongField::Length: return m_length;
    case SongField::FilePath: return m_filePath;
    case SongField::IsRenamable: return m_isRenamable;
    }
    return QVariant();
}

void Song::setValueForKey(QStringView key, const QVariant &value)
{
    const std::optional<SongField> field = fieldForKey(key);
    if (!field)
        return;
    switch (*field) {
    case SongField::Track: setTrack(textArgument(value)); break;
    case SongField::Title: setTitle(textArgument(value)); break;
    case SongField::Artist: setArtist(textArgument(value)); break;
    case SongField::Album: setAlbum(textArgument(value)); break;
    case SongField::Disc: setDisc(textArgument(value)); break;
    case SongField::AlbumArtist: setAlbumArtist(textArgument(value)); break;
    case SongField::Composer: setComposer(textArgument(value)); break;
    case SongField::Genre: setGenre(textArgument(value)); break;
    case SongField::Comment: setComment(textArgument(value)); break;
    case SongField::Lyrics: setLyrics(textArgument(value)); break;
    case SongField::FileName: setFileName(textArgument(value)); break;
    case SongField::Year:
        if (isText(value) || !value.isValid())
            setYear(textArgument(value));
        else
            setYear(value.toLongLong());
        break;
    case SongField::IsCompilation:
        if (isText(value) || !value.isValid())
            setIsCompilation(textArgument(value));
        else
            setIsCompilation(value.toLongLong());
        break;
    case SongField::Images: {
        // The whole list at once: the present pictures go, the given ones come in order.
        if (!value.canConvert<QList<Image>>())
            break;
        const QList<Image> images = value.value<QList<Image>>();
        removeAllImages();
        for (const Image &image : images)
            addImage(image);
        break;
    }
    case SongField::Bitrate: setBitrate(value.toInt()); break;
    case SongField::Length: setLength(value.toInt()); break;
    case SongField::FilePath: setFilePath(value.toString()); break;
    case SongField::IsRenamable: setIsRenamable(value.toBool()); break;
    }
}
