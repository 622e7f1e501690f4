#pragma once

#include <QStringList>

// The yardstick of the load benchmark: opens every file with TagLib alone (same file types,
// audio properties read Average) and touches the same values the editor's readers take,
// picture bytes included, without making songs.
namespace BaselineReader {

// The music files under the folder, found by a plain recursive listing.
QStringList collect(const QString &folder);

// Reads every file; the result is a checksum of what was read, so that no read can be
// optimised away.
quint64 readAll(const QStringList &paths);

} // namespace BaselineReader
