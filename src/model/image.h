#pragma once

#include <QByteArray>
#include <QMetaType>

#include <atomic>
#include <memory>
#include <mutex>

// The bytes of one picture and their digest, shared by every Image made of them. ImagePool
// watches these through weak references. The digest is computed on first use, once, whichever
// thread asks first: loading a folder does not pay for the digest of pictures nobody compares.
class ImageData {
public:
    // Counts digests computed (ImagePool's figure for tests and the benchmark).
    using DigestCounter = std::shared_ptr<std::atomic<qint64>>;

    // Bytes whose digest is computed when first asked for; the counter, if any, counts it.
    explicit ImageData(QByteArray data, DigestCounter counter = {})
        : m_data(std::move(data))
        , m_counter(std::move(counter))
    {
    }
    // Bytes with the digest the caller already knows.
    ImageData(QByteArray data, QByteArray hash);
    ImageData(const ImageData &) = delete;
    ImageData &operator=(const ImageData &) = delete;

    const QByteArray &data() const { return m_data; }
    const QByteArray &hash() const;
    // Whether the digest was given rather than computed; a given empty digest stays empty.
    bool isHashGiven() const { return m_hashGiven; }

private:
    const QByteArray m_data;
    mutable QByteArray m_hash;
    mutable std::once_flag m_hashOnce;
    const DigestCounter m_counter;
    const bool m_hashGiven = false;
};

// One embedded picture: its encoded bytes (JPEG or PNG as stored in the tag) and their MD5
// digest. Immutable once made. Copies share the byte buffer (QByteArray is implicitly shared),
// so songs that hold equal pictures can keep a single buffer; see ImagePool. Copies may be
// handed between threads.
class Image {
public:
    Image() = default;
    // Makes an image of the bytes; their digest is the MD5 over the whole buffer.
    explicit Image(const QByteArray &data);
    // Makes an image whose digest the caller already knows to be the MD5 of data.
    Image(const QByteArray &data, const QByteArray &md5);
    // Makes an image of shared bytes and digest (ImagePool).
    explicit Image(std::shared_ptr<const ImageData> shared) : m_d(std::move(shared)) {}

    const QByteArray &data() const { return m_d ? m_d->data() : empty(); }
    // The 16-byte MD5 digest of data().
    const QByteArray &hash() const { return m_d ? m_d->hash() : empty(); }
    QByteArray hashHex() const { return hash().toHex(); }
    // True for the default image (and one made with an empty digest): it has no digest.
    bool isNull() const { return !m_d || (m_d->isHashGiven() && m_d->hash().isEmpty()); }

    // The only equality used for pictures: equal digests.
    bool isEqualToImage(const Image &other) const
    {
        return m_d == other.m_d || hash() == other.hash();
    }
    bool operator==(const Image &other) const { return isEqualToImage(other); }

    // The MD5 digest of bytes.
    static QByteArray digest(QByteArrayView bytes);

private:
    static const QByteArray &empty();

    std::shared_ptr<const ImageData> m_d;
};

Q_DECLARE_METATYPE(Image)
