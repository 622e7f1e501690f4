#pragma once

#include <QList>
#include <QString>

#include <optional>

class Song;
class TagsWriter;

// What renaming songs would do to their files, one row per song, told before anything changes:
// the name on disk, the name the file would get and how the save pass would meet that rename.
// The renames are answered in list order, after the ones before them, by the same checks the
// save pass makes (PlannedRenames), so that a name an earlier song takes is refused and a name
// an earlier song leaves is free. Making a preview changes no song and no file.
namespace RenamePreview {

enum class Status {
    Unchanged,    // the file keeps its name
    Renamed,      // the file gets the new name
    CaseOnly,     // the file gets the new name, which differs from the old one in letter case only
    Collision,    // an earlier song of the list takes the name: the file keeps its name
    Exists,       // another file has the name: the file keeps its name
    InvalidName,  // nothing usable is left of the name: the file keeps its name
    TooLong,      // the name is longer than the file system allows: the file keeps its name
    Failed,       // the file is gone or its folder may not be written
    NotNamed,     // the tool gave the song no name (a value it needs is missing)
    NotRenamable, // the song may not be renamed
};

struct Row {
    const Song *song = nullptr;
    // The name of the file on disk, and the name it would have afterwards (for a song the
    // rename would refuse: the name asked for).
    QString oldName;
    QString newName;
    Status status = Status::Unchanged;
    // For a collision: the row of the song that takes the name first; -1 otherwise.
    int takenByRow = -1;
};

// One song and what it is to be called.
struct Proposal {
    const Song *song = nullptr;
    // The file name wanted, with its extension; null when the song keeps its name.
    QString wantedName;
    // Set when the song gets no name (NotNamed, NotRenamable, InvalidName); wantedName is then
    // not looked at.
    std::optional<Status> refused;
};

// The rows of the proposals, in their order.
QList<Row> rows(const QList<Proposal> &proposals);

// Naming the songs with the naming tool's settings of the moment.
QList<Row> forNaming(const QList<Song *> &songs);
// The all-in-one command on the songs: numbering, capitalization and naming with their
// settings of the moment, run on copies of the songs.
QList<Row> forAllInOne(const QList<Song *> &songs);
// What a save pass of the songs as they are now would rename. The failed songs are those a
// command gave no name.
QList<Row> forSave(const QList<Song *> &songs, const TagsWriter &writer, bool forced,
                   const QList<const Song *> &failed = {});

// Whether the row needs a look before going on: everything but Unchanged and Renamed.
bool isFlagged(Status status);
// Whether the file would keep its old name against the wish of the person.
bool isRefused(Status status);
// The status as scripts see it: "unchanged", "ok", "case-only", "collision", "exists",
// "invalid", "too-long", "failed", "not-named", "not-renamable".
QString statusName(Status status);
// The string-table key of the text that explains a flagged row ("RenamePreviewExists"); takes
// the old name of the row that takes the name first as argument for a collision.
const char *statusTextKey(Status status);
// That text for a row, ready to show.
QString statusText(const Row &row, const QList<Row> &rows);

} // namespace RenamePreview
