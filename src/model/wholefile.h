#pragma once

#include "model/result.h"

#include <QByteArray>
#include <QString>

// Files that appear whole or not at all. The bytes go to a temporary file in the target's
// folder, every write checked, flushed and synced to the disk; only then does that file take the
// target's name. On any failure (a full disk among them) whatever was at the target is as it
// was and the temporary file is gone. A failure's detail is the system's reason, ready to show.
namespace WholeFile {

// Puts the bytes at the path, replacing a file that is there (whose permission bits the new
// file keeps).
Result<void> replace(const QString &path, const QByteArray &bytes);

// Puts the bytes at the path only if nothing is there, not even a file that appears meanwhile.
Result<void> createNew(const QString &path, const QByteArray &bytes);

} // namespace WholeFile
