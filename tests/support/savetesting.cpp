#include "savetesting.h"

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
