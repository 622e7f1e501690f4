#include "audiostream.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

quint32 be32(const QByteArray &bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

quint32 le32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Size of an ID3v2 tag at the offset (header, body, footer), 0 if there is none.
qsizetype id3v2Size(const QByteArray &bytes, qsizetype at = 0)
{
    if (bytes.size() - at < 10 || bytes.mid(at, 3) != "ID3")
        return 0;
    qsizetype size = 0;
    for (qsizetype i = at + 6; i < at + 10; ++i)
        size = (size << 7) | (quint8(bytes.at(i)) & 0x7f);
    const bool hasFooter = quint8(bytes.at(at + 5)) & 0x10;
    return 10 + size + (hasFooter ? 10 : 0);
}

// Whether an ID3v2 tag header starts at the offset: "ID3", a major version 2 to 4, a revision and
// four size bytes below 0x80.
bool isID3v2Header(const QByteArray &bytes, qsizetype at)
{
    if (bytes.size() - at < 10 || bytes.mid(at, 3) != "ID3")
        return false;
    const quint8 major = quint8(bytes.at(at + 3));
    if (major < 2 || major > 4 || quint8(bytes.at(at + 4)) == 0xff)
        return false;
    for (qsizetype i = at + 6; i < at + 10; ++i) {
        if (quint8(bytes.at(i)) & 0x80)
            return false;
    }
    return true;
}

// Size of the tag that ends where the bytes up to `end` end: an ID3v1 tag, an APE tag or an
// ID3v2 tag with a footer; 0 if there is none.
qsizetype trailingTagSize(const QByteArray &bytes, qsizetype end)
{
    if (end >= 128 && bytes.mid(end - 128, 3) == "TAG")
        return 128;
    if (end >= 32 && bytes.mid(end - 32, 8) == "APETAGEX") {
        const qsizetype tagSize = le32(bytes, end - 32 + 12);
        const bool hasHeader = le32(bytes, end - 32 + 20) & 0x80000000u;
        return tagSize + (hasHeader ? 32 : 0);
    }
    if (end >= 20 && bytes.mid(end - 10, 3) == "3DI") {
        // The footer repeats the header, with its own identifier: header, body and footer.
        qsizetype size = 0;
        for (qsizetype i = end - 4; i < end; ++i)
            size = (size << 7) | (quint8(bytes.at(i)) & 0x7f);
        return 20 + size;
    }
    return 0;
}

QByteArray mpegStream(const QByteArray &bytes)
{
    // A tag directly behind the first is a duplicate that writers may merge into the first.
    qsizetype begin = 0;
    while (qsizetype size = id3v2Size(bytes, begin))
        begin += size;
    qsizetype end = bytes.size();
    while (qsizetype size = trailingTagSize(bytes, end)) {
        if (size < 0 || size > end - begin)
            return {};
        end -= size;
    }
    // A tag amid the audio, behind bytes that are not a tag, is not a layout this walk knows.
    for (qsizetype at = bytes.indexOf("ID3", begin); at >= 0 && at < end; at = bytes.indexOf("ID3", at + 1)) {
        if (isID3v2Header(bytes, at))
            return {};
    }
    return begin <= end ? bytes.mid(begin, end - begin) : QByteArray();
}

QByteArray flacStream(const QByteArray &bytes)
{
    qsizetype pos = id3v2Size(bytes);
    if (bytes.mid(pos, 4) != "fLaC")
        return {};
    pos += 4;
    QByteArray streamInfo;
    for (;;) {
        if (pos + 4 > bytes.size())
            return {};
        const quint8 header = quint8(bytes.at(pos));
        const qsizetype length = (quint8(bytes.at(pos + 1)) << 16) | (quint8(bytes.at(pos + 2)) << 8)
            | quint8(bytes.at(pos + 3));
        if ((header & 0x7f) == 0)
            streamInfo = bytes.mid(pos + 4, length);
        pos += 4 + length;
        if (header & 0x80)
            break;
    }
    return pos <= bytes.size() ? streamInfo + bytes.mid(pos) : QByteArray();
}

QByteArray mp4Stream(const QByteArray &bytes)
{
    QByteArray payload;
    qsizetype pos = 0;
    while (pos + 8 <= bytes.size()) {
        qint64 size = be32(bytes, pos);
        qsizetype headerSize = 8;
        if (size == 1) {
            if (pos + 16 > bytes.size())
                return {};
            size = qint64(qFromBigEndian<quint64>(bytes.constData() + pos + 8));
            headerSize = 16;
        } else if (size == 0) {
            size = bytes.size() - pos;
        }
        if (size < headerSize || pos + size > bytes.size())
            return {};
        if (bytes.mid(pos + 4, 4) == "mdat")
            payload += bytes.mid(pos + headerSize, size - headerSize);
        pos += size;
    }
    return payload;
}

// The data of the named chunks of an IFF file (AIFF big-endian, RIFF little-endian), in file
// order, each preceded by its id.
QByteArray iffStream(const QByteArray &bytes, bool bigEndian, const QList<QByteArray> &ids)
{
    QByteArray wanted;
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const qsizetype size = bigEndian ? be32(bytes, pos + 4) : le32(bytes, pos + 4);
        if (pos + 8 + size > bytes.size())
            return {};
        if (ids.contains(id))
            wanted += id + bytes.mid(pos + 8, size);
        pos += 8 + size + (size & 1);
    }
    return wanted;
}

} // namespace

QByteArray audioStream(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"mp3")
        return mpegStream(bytes);
    if (extension == u"flac")
        return flacStream(bytes);
    if (extension == u"m4a" || extension == u"m4b")
        return mp4Stream(bytes);
    if (extension == u"aif" || extension == u"aiff") {
        if (!bytes.startsWith("FORM"))
            return {};
        return iffStream(bytes, true, {QByteArrayLiteral("COMM"), QByteArrayLiteral("SSND")});
    }
    if (extension == u"wav") {
        if (!bytes.startsWith("RIFF"))
            return {};
        return iffStream(bytes, false, {QByteArrayLiteral("fmt "), QByteArrayLiteral("data")});
    }
    return {};
}
