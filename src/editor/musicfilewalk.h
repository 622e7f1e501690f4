#pragma once

#include "editor/folderlisting.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>

// One walk that collects the music files under the paths it is given, depth first in
// case-insensitive name order, as loading reads them. A folder reached again through a link is
// not entered twice in one walk, so links that lead back into it cannot make it endless. Runs on
// any one thread at a time.
class MusicFileWalk {
public:
    // stop, when given, ends the walk early once set (from any thread); it must outlive the walk.
    explicit MusicFileWalk(const std::atomic<bool> *stop = nullptr);

    // Collects the music files under a path named directly. Only such a path, when it is a file
    // outside the standard folders, lands in excludes (when given).
    void collect(const QString &path, QStringList *musicFiles, QSet<QString> *excludes);

    // Paths met whose names are not valid UTF-8, as printable text; they are never read.
    const QStringList &skippedPaths() const { return m_skippedPaths; }
    // Files that an interrupted rename left in its hidden folder and that could not be given
    // their name back; they are left where they are and not collected.
    const QStringList &strandedPaths() const { return m_strandedPaths; }

private:
    // Walks a folder once. canonical is its path with every link resolved; isLinkFree says the
    // path itself is no link (its parent listed it as a folder), so a link put there since is
    // not followed.
    void collectFolder(const QString &path, const QString &canonical, bool isLinkFree, QStringList *musicFiles);
    // An entry the listing could not type (a link, or no type given): looked up once.
    void collectLookedUp(const QString &path, QStringList *musicFiles);
    // Gives the files parked by interrupted renames in the folder their names back, and puts
    // those names in the listing in place of the hidden folders.
    void restoreInterruptedRenames(const QString &path, FolderListing::Listing *listing);
    bool isStopped() const { return m_stop && m_stop->load(); }

    const std::atomic<bool> *m_stop;
    QSet<QString> m_visitedFolders;
    QStringList m_skippedPaths;
    QStringList m_strandedPaths;
};
