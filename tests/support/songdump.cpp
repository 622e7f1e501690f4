#include "songdump.h"

#include "model/song.h"

#include <QCryptographicHash>
#include <QStringList>

QString dumpSong(const Song &song)
{
    QStringList lines;
    const auto text = [&lines](const char *name, const QString &value) {
        lines << QStringLiteral("%1: %2%3")
                     .arg(QLatin1String(name), value, value.isNull() ? QStringLiteral("(null)") : QString());
    };
    text("track", song.track());
    text("title", song.title());
    text("artist", song.artist());
    text("albumArtist", song.albumArtist());
    text("composer", song.composer());
    text("album", song.album());
    text("disc", song.disc());
    text("genre", song.genre());
    text("year", QString::number(song.year()));
    text("comment", song.comment());
    text("lyrics", song.lyrics());
    text("isCompilation", QString::number(song.isCompilation()));
    text("bitrate", QString::number(song.bitrate()));
    text("length", QString::number(song.length()));
    text("fileName", song.fileName());
    text("filePath", song.filePath());
    text("isRenamable", song.isRenamable() ? QStringLiteral("true") : QStringLiteral("false"));
    QString flags;
    for (int flag = 0; flag < SongFlaggedFieldCount; ++flag)
        flags += song.isModified(SongField(flag)) ? u'1' : u'0';
    text("flags", flags);
    for (const Image &image : song.images()) {
        const QByteArray fresh = QCryptographicHash::hash(image.data(), QCryptographicHash::Md5);
        text("image", QStringLiteral("%1 bytes, hash %2, md5 %3")
                          .arg(image.data().size())
                          .arg(QLatin1String(image.hash().toHex()), QLatin1String(fresh.toHex())));
    }
    return lines.join(u'\n');
}
