#include "tags/tagswriter.h"

#include "model/fileutil.h"
#include "model/song.h"
#include "tags/aiffwriter.h"
#include "tags/flacwriter.h"
#include "tags/m4awriter.h"
#include "tags/mp3writer.h"
#include "tags/savepass.h"
#include "tags/wavwriter.h"

TagsWriter::TagsWriter()
    : m_mp3Writer(std::make_unique<MP3Writer>())
    , m_m4aWriter(std::make_unique<M4AWriter>())
    , m_flacWriter(std::make_unique<FLACWriter>())
    , m_aiffWriter(std::make_unique<AIFFWriter>())
    , m_wavWriter(std::make_unique<WAVWriter>())
{
}

TagsWriter::~TagsWriter() = default;

SaveReport TagsWriter::writeFiles(const QList<Song *> &songs, bool forced)
{
    SavePass pass(forced, m_dryRun);
    QStringList notReached;
    for (Song *song : songs) {
        if (!song || !(song->isModified() || forced))
            continue;
        // A song of no known type is passed over: nothing written, nothing reported.
        const Writer *writer = writerForSong(*song);
        if (!writer)
            continue;
        if (!notReached.isEmpty() || (m_stop && m_stop->load()))
            notReached.append(song->filePath());
        else
            pass.writeSong(*song, *writer);
    }
    SaveReport report = pass.report();
    report.notReachedPaths = notReached;
    return report;
}

const Writer *TagsWriter::writerForSong(const Song &song) const
{
    if (song.isMP3())
        return m_mp3Writer.get();
    if (song.isM4A())
        return m_m4aWriter.get();
    if (song.isFLAC())
        return m_flacWriter.get();
    if (song.isAIFF())
        return m_aiffWriter.get();
    if (song.isWAV())
        return m_wavWriter.get();
    return nullptr;
}

QString TagsWriter::renamedPath(const Song &song)
{
    return renamedPath(song.folder(), song.fileName(), song.extension());
}

QString TagsWriter::renamedPath(const QString &folder, const QString &wantedName, const QString &extension)
{
    // The extension as the wanted name spells it, so that "Song.MP3" can become "song.mp3".
    const qsizetype dot = wantedName.lastIndexOf(u'.');
    const QString name = FileUtil::sanitizeFileName(dot >= 0 ? wantedName.first(dot) : wantedName);
    if (name.isEmpty())
        return {};
    const QString wantedExtension = dot >= 0 ? wantedName.mid(dot + 1) : extension;
    QString path = folder;
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        path += u'/';
    path += name;
    if (!wantedExtension.isEmpty())
        path += u'.' + wantedExtension;
    return path;
}
