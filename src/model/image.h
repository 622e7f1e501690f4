#pragma once

#include <QByteArray>
#include <QMetaType>

#include <memory>

// The bytes of one picture and their digest, shared by every Image made of them. ImagePool
// watches these through weak references.
struct ImageData {
    QByteArray data;
    QByteArray hash;
};

// One embedded picture: its encoded bytes (JPEG or PNG as stored in the tag) and their MD5
// digest. Immutable once made. Copies share the byte buffer (QByteArray is implicitly shared),
// so songs that hold equal pictures can keep a single buffer; see ImagePool. Copies may be
// handed between threads.
class Image {
public:
    Image() = default;
    // Makes an image of the bytes and digests them (MD5 over the whole buffer).
    explicit Image(const QByteArray &data);
    // Makes an image whose digest the caller already knows to be the MD5 of data.
    Image(const QByteArray &data, const QByteArray &md5);
    // Makes an image of shared bytes and digest (ImagePool).
    explicit Image(std::shared_ptr<const ImageData> shared) : m_d(std::move(shared)) {}

    const QByteArray &data() const { return m_d ? m_d->data : empty(); }
    // The 16-byte MD5 digest of data().
    const QByteArray &hash() const { return m_d ? m_d->hash : empty(); }
    QByteArray hashHex() const { return hash().toHex(); }
    bool isNull() const { return hash().isEmpty(); }

    // The only equality used for pictures: equal digests.
    bool isEqualToImage(const Image &other) const
    {
        return m_d == other.m_d || hash() == other.hash();
    }
    bool operator==(const Image &other) const { return isEqualToImage(other); }

    // The MD5 digest of bytes.
    static QByteArray digest(const QByteArray &bytes);

private:
    static const QByteArray &empty();

    std::shared_ptr<const ImageData> m_d;
};

Q_DECLARE_METATYPE(Image)
