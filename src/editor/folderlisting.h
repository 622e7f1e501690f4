#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Lists a folder by the raw bytes of its entry names, so that a name that is not valid UTF-8 is
// seen as such (QDir would hand back a lossy text that names no file). Such names are never
// read, written or renamed.
namespace FolderListing {

struct Listing {
    // Entry names that are valid UTF-8, in the order the file system gave them ("." and ".."
    // left out).
    QStringList names;
    // Entry names that are not valid UTF-8, as raw bytes.
    QList<QByteArray> invalidNames;
};

// An unreadable or vanished folder gives an empty listing.
Listing list(const QString &folder);

// The text of a name if it is strictly valid UTF-8 (no overlong forms, no surrogates).
std::optional<QString> decodeName(const QByteArray &name);

// The name as a printable text: valid UTF-8 sequences as text, every other byte as "\xNN".
QString printableName(const QByteArray &name);

} // namespace FolderListing
