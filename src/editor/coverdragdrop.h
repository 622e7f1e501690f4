#pragma once

#include "model/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QImage;
class Song;

// The rules of dropping pictures on the cover panel and of dragging the lead picture out to a
// folder, apart from the window's drag and drop machinery.
namespace CoverDragDrop {

// Whether a drop of file references may go ahead: every path that exists must be a file (not a
// folder) whose extension is exactly "jpg", "jpeg" or "png" (case-sensitive: "COVER.JPG" is
// refused). Paths that do not exist are not examined.
bool isAcceptableFileDrop(const QStringList &paths);

// A dropped picture encoded as JPEG with the encoder's default settings; empty when the picture
// is null or cannot be encoded.
QByteArray jpegData(const QImage &picture);

// The name of the dragged-out file, without extension: "artist - album" of the song when both
// are non-empty, else its album when non-empty, else "Cover". A "/" cannot stand in a file name
// and becomes "-". "Cover" for no song.
QString fileBaseName(const Song *firstSelected);
// "png" for PNG bytes, else "jpg".
QString fileExtension(const QByteArray &data);
// The names tried in order: "name.ext", then "name 2.ext" to "name 10.ext".
QStringList candidateFileNames(const QString &baseName, const QString &extension);

// Writes the bytes to a new file at the path, atomically (a temporary file in the same folder,
// then a rename that refuses to replace): an existing file is never replaced or touched.
Result<void> writeNewFile(const QString &path, const QByteArray &data);

// Writes the bytes into the folder under the first candidate name that does not exist yet and
// can be written; returns the path written. Fails, writing nothing, when all ten fail.
Result<QString> writeIntoFolder(const QString &folder, const QString &baseName, const QByteArray &data);

} // namespace CoverDragDrop
