#include "model/image.h"

#include <QCryptographicHash>

ImageData::ImageData(QByteArray data, QByteArray hash)
    : m_data(std::move(data))
    , m_hash(std::move(hash))
    , m_hashGiven(true)
{
}

const QByteArray &ImageData::hash() const
{
    if (m_hashGiven)
        return m_hash;
    // Computed once; the flag makes the result visible to every thread that asks later.
    std::call_once(m_hashOnce, [this] {
        m_hash = Image::digest(m_data);
        if (m_counter)
            ++*m_counter;
    });
    return m_hash;
}

Image::Image(const QByteArray &data)
    : m_d(std::make_shared<const ImageData>(data))
{
}

Image::Image(const QByteArray &data, const QByteArray &md5)
    : m_d(std::make_shared<const ImageData>(data, md5))
{
}

QByteArray Image::digest(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

const QByteArray &Image::empty()
{
    static const QByteArray none;
    return none;
}
