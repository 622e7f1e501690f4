#pragma once

#include "model/result.h"

#include <QString>

// Moves within one file system that never replace what is already there. A plain rename(2)
// silently replaces an existing target; these fail instead, so that a collision leaves both
// files as they were.
namespace FileMove {

// Moves the file at from to the path to, failing when anything exists at to. Uses the atomic
// no-replace rename of the system; where the file system lacks it, moveByLink(); where that
// lacks hard links too, a check for the target followed by a plain rename. A name too long for
// the file system fails with ErrorCode::InvalidName, a missing file with NotFound.
Result<void> moveNoReplace(const QString &from, const QString &to);

// Makes a hard link at to (which fails if to exists), then removes from. The file keeps its
// identity (inode). If from cannot be removed, the link is taken back and the move fails.
Result<void> moveByLink(const QString &from, const QString &to);

} // namespace FileMove
