#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Lists a folder by the raw bytes of its entry names, so that a name that is not valid UTF-8 is
// seen as such (QDir would hand back a lossy text that names no file). Such names are never
// read, written or renamed.
namespace FolderListing {

// What the listing itself tells of an entry, so that a walk need not look up every file.
enum class EntryType {
    Folder,  // a folder (not a link to one)
    File,    // a regular file (not a link to one)
    Unknown, // a link, or a file system that does not say: look the path up to know
    Other,   // a pipe, device or socket
};

struct Listing {
    // Entry names that are valid UTF-8, in the order the file system gave them ("." and ".."
    // left out).
    QStringList names;
    // The type of each entry of names, at the same index.
    QList<EntryType> types;
    // Entry names that are not valid UTF-8, as raw bytes.
    QList<QByteArray> invalidNames;
};

// An unreadable or vanished folder gives an empty listing. With followLink false, a folder
// path that names a link gives one too.
Listing list(const QString &folder, bool followLink = true);

// The text of a name if it is strictly valid UTF-8 (no overlong forms, no surrogates).
std::optional<QString> decodeName(const QByteArray &name);

// The name as a printable text: valid UTF-8 sequences as text, every other byte as "\xNN".
QString printableName(const QByteArray &name);

} // namespace FolderListing
