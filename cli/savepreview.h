#pragma once

#include "songsnapshot.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

class Song;
class TagsWriter;

// What a dry run would change: per song each field whose value would change (before and after)
// and the name its file would get, with how that rename would go, checked in list order as the
// save pass renames: "ok", "collision" (an earlier song of the run takes the name), "exists"
// (another file has it), "invalid", "too-long" or "failed".
namespace SavePreview {

struct Rename {
    QString from;
    QString to;
    QString status;
};

struct Row {
    const Song *song = nullptr;
    QList<SongSnapshot::Change> changes;
    std::optional<Rename> rename;
};

// One row per song, in list order; before holds the snapshot of each song, in the same order.
QList<Row> rows(const QList<Song *> &songs, const std::vector<SongSnapshot> &before, const TagsWriter &writer,
                bool forced);

// The rows of the songs with something to change, as text with control characters escaped.
QString text(const QList<Row> &rows);
// Every song as "read --json" prints it, with "changes" (a list of {"field", "old", "new"}) and
// "rename" (null, or {"from", "to", "status"}).
QByteArray json(const QList<Row> &rows);

} // namespace SavePreview
