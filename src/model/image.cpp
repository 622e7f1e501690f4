#include "model/image.h"

#include <QCryptographicHash>

Image::Image(const QByteArray &data)
    : m_d(std::make_shared<const ImageData>(ImageData{data, digest(data)}))
{
}

Image::Image(const QByteArray &data, const QByteArray &md5)
    : m_d(std::make_shared<const ImageData>(ImageData{data, md5}))
{
}

QByteArray Image::digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

const QByteArray &Image::empty()
{
    static const QByteArray none;
    return none;
}
