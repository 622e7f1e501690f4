#pragma once

#include "model/result.h"

#include <QByteArray>

#include <sys/stat.h>

// A new file written beside an existing one that takes the existing file's place in one atomic
// rename once it is whole. Until then the existing file is not touched: a failed write, a full
// disk or a kill leaves it as it was. The new file is made without a name where the file system
// allows it (nothing is left behind by a kill); elsewhere, and for the moment before the rename,
// it has a hidden name that loading never picks up (see temporaryName()).
class ReplacementFile {
public:
    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;

    // Makes the new, empty file in the folder of target (a path to a regular file, no link).
    Result<void> create(const QByteArray &target);
    // Open for reading and writing once created; -1 before.
    int descriptor() const { return m_descriptor; }

    // Gives the new file the permission bits, the owner (where the system allows) and the
    // extended attributes of original (the target as it was opened, still open as
    // originalDescriptor), flushes it to the disk and renames it over the target. Fails, leaving
    // the target as it was, when any of that fails or the target is no longer the original
    // file. The new file's identity is in committedStat() afterwards.
    Result<void> commit(int originalDescriptor, const struct stat &original);
    const struct stat &committedStat() const { return m_committed; }

    // Removes the new file; done by the destructor unless committed.
    void discard();

    // The hidden name a replacement of the file named fileName takes before its rename: the
    // name between "." and ".quorl-tmp", or a digest of it where that would pass the system's
    // limit of 255 bytes.
    static QByteArray temporaryName(const QByteArray &fileName);
    // Whether a file name is such a temporary name.
    static bool isTemporaryName(const QByteArray &fileName);

    // Tests turn off the unnamed files to try the path taken on file systems without them.
    static void setUnnamedFilesAllowed(bool allowed);

private:
    Result<void> createNamed();
    Result<void> giveName();
    Result<void> copyMetadata(int originalDescriptor, const struct stat &original);

    QByteArray m_target;
    QByteArray m_temporaryPath; // set while the new file has a name
    int m_descriptor = -1;
    bool m_unnamed = false;
    struct stat m_committed {};
};
