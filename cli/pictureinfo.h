#pragma once

#include <QByteArray>
#include <QString>

class Image;

// What the tool says about one embedded picture. The size comes from the picture's header;
// the pixels are never decoded.
struct PictureInfo {
    QByteArray md5Hex;
    qint64 bytes = 0;
    QString mime;        // "image/jpeg", "image/png" or "application/octet-stream"
    QString extension;   // "jpg", "png" or "bin"
    int width = 0;       // 0 when the picture cannot be decoded
    int height = 0;

    static PictureInfo of(const Image &image);
};
