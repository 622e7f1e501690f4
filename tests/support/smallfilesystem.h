#pragma once

#include <QString>
#include <QTemporaryDir>

// A file system of a few hundred kilobytes mounted on a new empty folder for one test, to see
// what a write does when the disk is full: a tmpfs where mounting one is allowed (as root), else
// an ext2 image on a loop device. The destructor unmounts it and removes the folder.
//
//     SmallFileSystem disk(512 * 1024);
//     if (!disk.isMounted())
//         QSKIP(qPrintable(disk.failure()));
//     ... put files into disk.path() ...
//     QVERIFY2(disk.fillLeaving(4096), qPrintable(disk.failure()));
class SmallFileSystem {
public:
    // Any: a tmpfs, else a loop image. The others make only that kind (to run a test on both).
    enum class Kind { Any, Tmpfs, LoopImage };

    explicit SmallFileSystem(qint64 sizeBytes, Kind kind = Kind::Any);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool isMounted() const { return m_mounted; }
    // The mounted folder; empty when nothing could be mounted.
    QString path() const { return m_mounted ? m_mountPoint.path() : QString(); }
    // Why the last step failed (mounting, filling), ready for QSKIP or a failure message.
    QString failure() const { return m_failure; }

    // Fills the file system with a hidden filler file until no more than about leftBytes (within
    // one block) stay free. False, with failure() set, when that could not be done.
    bool fillLeaving(qint64 leftBytes);
    // Removes the filler, giving its space back.
    void unfill();
    // The bytes an unprivileged write can still take; -1 when unknown.
    qint64 freeBytes() const;

private:
    bool mountTmpfs(qint64 sizeBytes);
    bool mountImage(qint64 sizeBytes);
    QString fillerPath() const;

    QTemporaryDir m_mountPoint;
    QTemporaryDir m_imageFolder; // holds the loop image, outside the mounted folder
    bool m_mounted = false;
    QString m_failure;
};
