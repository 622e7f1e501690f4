#include "pictureinfo.h"

#include "model/image.h"
#include "model/picturedata.h"

#include <QBuffer>
#include <QImageReader>

PictureInfo PictureInfo::of(const Image &image)
{
    PictureInfo info;
    const QByteArray &data = image.data();
    info.md5Hex = image.hashHex();
    info.bytes = data.size();
    if (PictureData::isValidJPEG(data)) {
        info.mime = QStringLiteral("image/jpeg");
        info.extension = QStringLiteral("jpg");
    } else if (PictureData::isValidPNG(data)) {
        info.mime = QStringLiteral("image/png");
        info.extension = QStringLiteral("png");
    } else {
        info.mime = QStringLiteral("application/octet-stream");
        info.extension = QStringLiteral("bin");
    }
    QByteArray bytes = data; // QBuffer needs a non-const array; this shares, it does not copy
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid()) {
        info.width = size.width();
        info.height = size.height();
    }
    return info;
}
