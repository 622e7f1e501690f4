#pragma once

#include "songsnapshot.h"

#include "tools/renamepreview.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

class Song;
class TagsWriter;

// What a dry run would change: per song each field whose value would change (before and after)
// and the name its file would get, with how that rename would go, checked in list order as the
// save pass renames (RenamePreview): "unchanged", "ok", "case-only", "collision" (an earlier song
// of the run takes the name), "exists" (another file has it), "invalid", "too-long", "failed",
// "not-named" (the command failed on the song, which keeps its name) or "not-renamable".
namespace SavePreview {

struct Row {
    const Song *song = nullptr;
    QList<SongSnapshot::Change> changes;
    RenamePreview::Row rename;
};

// One row per song, in list order; before holds the snapshot of each song, in the same order;
// failed the songs the command reported as failed.
QList<Row> rows(const QList<Song *> &songs, const std::vector<SongSnapshot> &before, const TagsWriter &writer,
                bool forced, const QList<const Song *> &failed);

// The rows of the songs with something to change or a rename to look at, as text with control
// characters escaped.
QString text(const QList<Row> &rows);
// Every song as "read --json" prints it, with "changes" (a list of {"field", "old", "new"}) and
// "rename" ({"from", "to", "status"}).
QByteArray json(const QList<Row> &rows);

} // namespace SavePreview
