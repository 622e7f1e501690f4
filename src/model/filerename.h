#pragma once

#include <QString>
#include <QStringList>

// Renames a file within its folder, never replacing another file and never leaving it under a
// name that nothing shows. A rename goes straight to the new name. Only where the new name
// finds the file itself (a change of letter case on a file system that ignores case) does it
// take a detour: the file is parked in a hidden folder made for it beside the file, under its
// own name, and moved on from there. A file that an interrupted rename left parked is given its
// name back by restore(), which loading calls for every such folder it meets.
namespace FileRename {

enum class Status {
    Done,        // renamed, or the name is unchanged
    Exists,      // another file or folder has the new name
    InvalidName, // nothing of the name is left, or only dots and blanks, before the extension
    TooLong,     // the name is longer than the file system of the folder allows
    Failed,      // the file is gone, the folder may not be written, or the system refused
};

// The longest name, in bytes, that the file system of the folder takes: 255 where it does not
// say, the largest value of the type where it sets no limit.
qint64 nameLimit(const QString &folder);

// Whether the last component of path may be given to a file in its folder: Done, InvalidName
// (also for an empty path) or TooLong.
Status checkName(const QString &path);

// For a name refused by checkName() (InvalidName, TooLong): the report line that says why the
// file shownName in folder did not get the name wanted, ending with a line break. Empty for any
// other status.
QString nameRefusal(Status status, const QString &shownName, const QString &wanted, const QString &folder);

// Moves the file at from to the path to, in the same folder. A read-only folder is respected
// even where the process could write it all the same (the superuser).
Status rename(const QString &from, const QString &to);

// What rename() would answer now, moving nothing.
Status wouldRename(const QString &from, const QString &to);

// The detour that rename() takes where the new name finds the file itself: the file is parked
// under its own name in a new hidden folder beside it (its name picked so that nothing holds it
// yet), moved on to its new name, and the folder removed. A failed move on puts the file back.
Status renameThroughParking(const QString &from, const QString &to);

// Whether a folder entry is named like the hidden folder of a detour.
bool isTemporaryName(const QString &name);

struct Restoration {
    // Names given back to files in the folder.
    QStringList restoredNames;
    // Paths of parked files whose name another file has taken since; they are left where they are.
    QStringList strandedPaths;
};

// Moves every file parked in the entry temporaryName of the folder back under its own name, and
// removes that hidden folder once it is empty. An entry of that name that is no folder is left
// alone.
Restoration restore(const QString &folder, const QString &temporaryName);

} // namespace FileRename
