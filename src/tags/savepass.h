#pragma once

#include "model/filerename.h"
#include "tags/plannedrenames.h"
#include "tags/tagswriter.h"

class Song;
class Writer;

// One run of TagsWriter::writeFiles(): the settings read at its start, the error list and the
// per-song steps (check, save, rename).
class SavePass {
public:
    SavePass(bool forced, bool dryRun);

    // Saves and, if asked for, renames the song's file; what is to change on the song (its flags
    // cleared when both succeeded) comes back to be applied by the caller.
    SongSaveChanges writeSong(const Song &song, const Writer &writer);

    const SaveReport &report() const { return m_report; }

private:
    bool saveTags(const Song &song, const Writer &writer, SongSaveChanges *changes);
    bool rename(const Song &song, SongSaveChanges *changes);
    void addSaveError(const Song &song);
    void addRenameError(const Song &song, bool savedOk);

    const bool m_forced;
    const bool m_dryRun;
    const bool m_writeID3v1;
    const bool m_writeID3v23;
    SaveReport m_report;
    // How the last rename that failed went, for its entry in the report.
    FileRename::Status m_renameStatus = FileRename::Status::Done;
    // A dry run answers each rename after the ones before it.
    PlannedRenames m_plannedRenames;
};
