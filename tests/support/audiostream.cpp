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

// Size of an ID3v2 tag at the start (header, body, footer), 0 if there is none.
qsizetype id3v2Size(const QByteArray &bytes)
{
    if (bytes.size() < 10 || !bytes.startsWith("ID3"))
        return 0;
    qsizetype size = 0;
    for (int i = 6; i < 10; ++i)
        size = (size << 7) | (quint8(bytes.at(i)) & 0x7f);
    const bool hasFooter = quint8(bytes.at(5)) & 0x10;
    return 10 + size + (hasFooter ? 10 : 0);
}

QByteArray mpegStream(const QByteArray &bytes)
{
    qsizetype begin = id3v2Size(bytes);
    qsizetype end = bytes.size();
    if (end - begin >= 128 && bytes.mid(end - 128, 3) == "TAG")
        end -= 128;
    if (end - begin >= 32 && bytes.mid(end - 32, 8) == "APETAGEX") {
        const qsizetype tagSize = le32(bytes, end - 32 + 12);
        const bool hasHeader = le32(bytes, end - 32 + 20) & 0x80000000u;
        end -= tagSize + (hasHeader ? 32 : 0);
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
