#include "editor/folderlisting.h"

#include <QFile>
#include <QStringDecoder>

#include <dirent.h>

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

Listing list(const QString &folder)
{
    Listing listing;
    const QByteArray encoded = QFile::encodeName(folder);
    DIR *directory = ::opendir(encoded.constData());
    if (!directory)
        return listing;
    while (const dirent *entry = ::readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        if (auto text = decodeName(name))
            listing.names.append(*text);
        else
            listing.invalidNames.append(name);
    }
    ::closedir(directory);
    return listing;
}

} // namespace FolderListing
