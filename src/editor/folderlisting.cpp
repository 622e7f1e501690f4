#include "editor/folderlisting.h"

#include <QFile>
#include <QStringDecoder>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace FolderListing {

namespace {

// The length of the UTF-8 sequence that a lead byte begins, or 0 for a byte that begins none.
int sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

EntryType entryType(unsigned char type)
{
    switch (type) {
    case DT_DIR: return EntryType::Folder;
    case DT_REG: return EntryType::File;
    case DT_LNK:
    case DT_UNKNOWN: return EntryType::Unknown;
    default: return EntryType::Other;
    }
}

} // namespace

std::optional<QString> decodeName(const QByteArray &name)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(name);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString printableName(const QByteArray &name)
{
    QString printable;
    qsizetype i = 0;
    while (i < name.size()) {
        const int length = sequenceLength(static_cast<unsigned char>(name.at(i)));
        if (length > 0 && i + length <= name.size()) {
            if (auto text = decodeName(name.mid(i, length))) {
                printable += *text;
                i += length;
                continue;
            }
        }
        const unsigned byte = static_cast<unsigned char>(name.at(i));
        printable += QStringLiteral("\\x") + QString::number(byte, 16).toUpper().rightJustified(2, u'0');
        ++i;
    }
    return printable;
}

Listing list(const QString &folder, bool followLink)
{
    Listing listing;
    const QByteArray encoded = QFile::encodeName(folder);
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    const int descriptor = ::open(encoded.constData(), flags);
    if (descriptor < 0)
        return listing;
    DIR *directory = ::fdopendir(descriptor);
    if (!directory) {
        ::close(descriptor);
        return listing;
    }
    while (const dirent *entry = ::readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        if (auto text = decodeName(name)) {
            listing.names.append(*text);
            listing.types.append(entryType(entry->d_type));
        } else {
            listing.invalidNames.append(name);
        }
    }
    ::closedir(directory);
    return listing;
}

} // namespace FolderListing
