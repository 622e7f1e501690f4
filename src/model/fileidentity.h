#pragma once

#include <QByteArray>
#include <QString>

struct stat;

// Tells whether the file at a path is still the file that was read: the save pass refuses to
// write into a file that was removed, replaced or changed by another program since loading.
namespace FileIdentity {

// Device, inode, size and modification time (nanoseconds) of the file at the path, following
// links; empty when nothing can be found there. Equal identities mean the same file, unchanged.
QByteArray ofPath(const QString &path);

// The identity of the file that st describes (as filled by stat() or fstat()), for callers that
// looked the file up already.
QByteArray ofStat(const struct stat &st);

} // namespace FileIdentity
