#include "savetesting.h"

#include "fixtures.h"

#include "model/image.h"
#include "model/song.h"
#include "tags/tagsreader.h"

#include <QFile>

std::unique_ptr<Song> readSong(const QString &path)
{
    TagsReader reader;
    reader.setThreadCount(1);
    SongList songs;
    reader.parseFiles({path}, &songs);
    if (songs.empty())
        return nullptr;
    return std::move(songs.front());
}

SaveReport writeSong(Song *song, bool forced)
{
    TagsWriter writer;
    return writer.writeFiles({song}, forced);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TitleSave saveNewTitle(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes,
                       const QString &title, const QByteArray &picture)
{
    TitleSave save;
    save.path = writeFile(dir, name, bytes);
    if (save.path.isEmpty())
        return save;
    save.song = readSong(save.path);
    if (!save.song)
        return save;
    save.song->setTitle(title);
    if (!picture.isEmpty())
        save.song->addImage(Image(picture));
    save.report = writeSong(save.song.get());
    return save;
}

QString refusalFault(const TitleSave &save, const QByteArray &bytes)
{
    if (!save.report.hasErrors())
        return QStringLiteral("the save was not refused");
    if (save.report.savedCount != 0)
        return QStringLiteral("%1 files saved").arg(save.report.savedCount);
    if (!save.song->isTitleModified())
        return QStringLiteral("the song's change is no longer flagged");
    if (fileBytes(save.path) != bytes)
        return QStringLiteral("the file changed");
    return {};
}
