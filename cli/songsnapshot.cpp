#include "songsnapshot.h"

#include "pictureinfo.h"

#include "model/song.h"

#include <QStringList>

namespace {

// In the order the setters must run when a song is put back: the artist before the album
// artist and the album artist before the compilation flag, which the bindings may derive from
// them.
const QStringList &fieldKeys()
{
    static const QStringList keys = {
        QStringLiteral("track"),   QStringLiteral("title"),  QStringLiteral("artist"),
        QStringLiteral("albumArtist"), QStringLiteral("composer"), QStringLiteral("album"),
        QStringLiteral("disc"),    QStringLiteral("genre"),  QStringLiteral("year"),
        QStringLiteral("comment"), QStringLiteral("lyrics"), QStringLiteral("isCompilation"),
    };
    return keys;
}

QStringList md5Sums(const QList<Image> &images)
{
    QStringList sums;
    for (const Image &image : images)
        sums.append(QString::fromLatin1(PictureInfo::of(image).md5Hex));
    return sums;
}

} // namespace

SongSnapshot::SongSnapshot(const Song &song)
    : m_images(song.images()), m_fileName(song.fileName()), m_wasModified(song.isModified())
{
    for (const QString &key : fieldKeys())
        m_values.append(song.valueForKey(key));
}

QList<SongSnapshot::Change> SongSnapshot::changes(const Song &song) const
{
    QList<Change> result;
    for (qsizetype i = 0; i < fieldKeys().size(); ++i) {
        const QVariant now = song.valueForKey(fieldKeys().at(i));
        if (now != m_values.at(i))
            result.append({fieldKeys().at(i), m_values.at(i), now});
    }
    if (song.images() != m_images)
        result.append({QStringLiteral("images"), md5Sums(m_images), md5Sums(song.images())});
    return result;
}

void SongSnapshot::restore(Song *song) const
{
    for (qsizetype i = 0; i < fieldKeys().size(); ++i)
        song->setValueForKey(fieldKeys().at(i), m_values.at(i));
    if (song->images() != m_images) {
        song->removeAllImages();
        for (const Image &image : m_images)
            song->addImage(image);
    }
    song->setFileName(m_fileName);
    if (!m_wasModified)
        song->resetModifications();
}
