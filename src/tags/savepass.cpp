#include "tags/savepass.h"

#include "model/fileidentity.h"
#include "model/filerename.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/atomicsavestream.h"
#include "tags/writer.h"

#include <QFile>

#include <taglib/mpegfile.h>
#include <taglib/tfile.h>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr quint64 MaxListedErrors = 10;

QString lastComponent(const QString &path)
{
    return path.section(u'/', -1);
}

// Whether the process may write at the path and its permission bits allow writing at all: the
// superuser passes access() for everything, yet a file or folder the user made read-only is
// left alone.
bool isWritable(const QByteArray &native, const struct stat &st)
{
    return ::access(native.constData(), W_OK) == 0
        && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// Before anything is written: the path still holds a regular, writable file, and it is the very
// file that was loaded (or last saved), unchanged since. A TagLib save on anything else would
// fail half-way or overwrite someone else's changes.
bool mayWrite(const Song &song)
{
    // One lookup answers both questions.
    const QByteArray native = QFile::encodeName(song.filePath());
    struct stat st {};
    if (::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode) || !isWritable(native, st))
        return false;
    return song.fileIdentity().isEmpty() || song.fileIdentity() == FileIdentity::ofStat(st);
}

// Whether the file name is the only change: the file then needs renaming, not a new tag.
bool onlyFileNameModified(const Song &song)
{
    const bool tagModified = song.isTrackModified() || song.isTitleModified() || song.isArtistModified()
        || song.isAlbumModified() || song.isDiscModified() || song.isAlbumArtistModified()
        || song.isComposerModified() || song.isGenreModified() || song.isYearModified()
        || song.isCommentModified() || song.isLyricsModified() || song.isCompilationModified()
        || song.isImagesModified();
    return song.isFileNameModified() && !tagModified;
}

bool saveFile(TagLib::File *file, bool writeID3v1, bool writeID3v23)
{
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(file)) {
        return mpeg->save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone,
                          writeID3v23 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4,
                          writeID3v1 ? TagLib::File::Duplicate : TagLib::File::DoNotDuplicate);
    }
    return file->save();
}

} // namespace

SavePass::SavePass(bool forced, bool dryRun)
    : m_forced(forced)
    , m_dryRun(dryRun)
    , m_writeID3v1(UserDefaults::shared().boolForKey(QStringLiteral("WRITE_ID3_V1_TAGS")))
    , m_writeID3v23(UserDefaults::shared().boolForKey(QStringLiteral("WRITE_ID3_V23_TAGS")))
{
}

SongSaveChanges SavePass::writeSong(const Song &song, const Writer &writer)
{
    SongSaveChanges changes;
    // A rename alone leaves the contents as they are: the tag is not rewritten in another version
    // or layout, and a file that may not be written can still be renamed.
    bool savedOk = true;
    if (m_forced || !onlyFileNameModified(song)) {
        savedOk = saveTags(song, writer, &changes);
        if (savedOk)
            ++m_report.savedCount;
        else
            addSaveError(song);
    }

    // A file is renamed even when its tags could not be saved.
    bool renamedOk = true;
    if (song.isFileNameModified()) {
        renamedOk = rename(song, &changes);
        if (!renamedOk)
            addRenameError(song, savedOk);
    }
    changes.resetModifications = savedOk && renamedOk && !m_dryRun;
    return changes;
}

bool SavePass::saveTags(const Song &song, const Writer &writer, SongSaveChanges *changes)
{
    if (!mayWrite(song))
        return false;
    if (m_dryRun)
        return true;
    // Nothing reaches the file before the stream's commit, and the stream holds the file's lock.
    Result<std::unique_ptr<AtomicSaveStream>> opened = AtomicSaveStream::open(song.filePath());
    if (!opened)
        return false;
    const std::unique_ptr<AtomicSaveStream> stream = std::move(opened).value();
    // Checked again under the lock: another save may have changed the file since the look above.
    if (!song.fileIdentity().isEmpty() && song.fileIdentity() != FileIdentity::ofStat(stream->originalStat()))
        return false;
    std::unique_ptr<TagLib::File> file = writer.writeFile(song, m_forced, stream.get());
    // TagLib would put a tag even into a file it could not make sense of.
    if (!file || !file->isValid())
        return false;
    const bool saved = saveFile(file.get(), m_writeID3v1, m_writeID3v23);
    file.reset();
    if (!saved || !stream->commit())
        return false;
    changes->fileIdentity = FileIdentity::ofStat(stream->savedStat());
    return true;
}

bool SavePass::rename(const Song &song, SongSaveChanges *changes)
{
    const QString oldPath = song.filePath();
    const QString newPath = TagsWriter::renamedPath(song);
    if (newPath == oldPath)
        return true;
    // A dry run asks the same questions as the rename itself.
    m_renameStatus = m_dryRun ? PlannedRenames::statusOf(m_plannedRenames.plan(oldPath, newPath))
                              : FileRename::rename(oldPath, newPath);
    if (m_renameStatus != FileRename::Status::Done)
        return false;
    if (!m_dryRun)
        changes->filePath = newPath;
    ++m_report.renamedCount;
    return true;
}

void SavePass::addSaveError(const Song &song)
{
    if (m_report.errorCount < MaxListedErrors)
        m_report.errorText += Localized::text("FileWasNotSaved").arg(lastComponent(song.filePath()));
    ++m_report.errorCount;
}

void SavePass::addRenameError(const Song &song, bool savedOk)
{
    if (m_report.errorCount >= MaxListedErrors) {
        ++m_report.errorCount;
        return;
    }
    // A song whose save failed as well was counted once already; its second entry adds nothing
    // to the count.
    if (savedOk)
        ++m_report.errorCount;
    QString entry = FileRename::nameRefusal(m_renameStatus, lastComponent(song.filePath()), song.fileName(),
                                            song.folder());
    if (entry.isEmpty()) {
        entry = savedOk ? Localized::text("FileWasNotRenamedTo").arg(lastComponent(song.filePath()), song.fileName())
                        : Localized::text("FileWasNotRenamed").arg(song.fileName());
    }
    m_report.errorText += entry;
}
