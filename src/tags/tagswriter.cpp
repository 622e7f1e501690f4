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
    return writeFiles(songs, forced, SaveHooks());
}

SaveReport TagsWriter::writeFiles(const QList<Song *> &songs, bool forced, const SaveHooks &hooks)
{
    SavePass pass(forced, m_dryRun);
    QStringList notReached;
    const auto stopped = [&] { return (m_stop && m_stop->load()) || (hooks.cancel && hooks.cancel->load()); };
    for (Song *song : songs) {
        // A song of no known type is passed over: nothing written, nothing reported.
        if (!song || !willWrite(*song, forced))
            continue;
        if (!notReached.isEmpty() || stopped()) {
            notReached.append(song->filePath());
            continue;
        }
        const SongSaveChanges changes = pass.writeSong(*song, *writerForSong(*song));
        if (hooks.songDone)
            hooks.songDone(song, changes);
        else
            changes.applyTo(*song);
    }
    SaveReport report = pass.report();
    report.notReachedPaths = notReached;
    return report;
}

bool TagsWriter::willWrite(const Song &song, bool forced) const
{
    return (forced || song.isModified()) && writerForSong(song);
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

void SongSaveChanges::applyTo(Song &song) const
{
    if (fileIdentity)
        song.setFileIdentity(*fileIdentity);
    if (filePath)
        song.setFilePath(*filePath);
    if (resetModifications)
        song.resetModifications();
}
