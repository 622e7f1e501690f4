#pragma once

#include <QByteArray>
#include <QMetaType>

// One embedded picture: its encoded bytes (JPEG or PNG as stored in the tag) and their MD5
// digest. Immutable once made. Copies share the byte buffer (QByteArray is implicitly shared),
// so songs that hold equal pictures can keep a single buffer; see ImagePool.
class Image {
public:
    Image() = default;
    // Makes an image of the bytes and digests them (MD5 over the whole buffer).
    explicit Image(const QByteArray &data);
    // Makes an image whose digest the caller already knows to be the MD5 of data.
    Image(const QByteArray &data, const QByteArray &md5);

    const QByteArray &data() const { return m_data; }
    // The 16-byte MD5 digest of data().
    const QByteArray &hash() const { return m_hash; }
    QByteArray hashHex() const { return m_hash.toHex(); }
    bool isNull() const { return m_hash.isEmpty(); }

    // The only equality used for pictures: equal digests.
    bool isEqualToImage(const Image &other) const { return m_hash == other.m_hash; }
    bool operator==(const Image &other) const { return isEqualToImage(other); }

private:
    QByteArray m_data;
    QByteArray m_hash;
};

Q_DECLARE_METATYPE(Image)
