#include "model/picturedata.h"

#include "model/localized.h"
#include "model/userdefaults.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <limits>

namespace PictureData {

namespace {

constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr char PngEnd[] = "\0\0\0\0IEND\xae\x42\x60\x82";

// The size of a picture of the given size whose longer side is at most maxPixelSize, with the
// aspect ratio kept. Pictures are never enlarged.
QSize reducedSize(const QSize &size, unsigned maxPixelSize)
{
    const qint64 longer = qMax(size.width(), size.height());
    if (longer <= qint64(maxPixelSize))
        return size;
    const auto scale = [&](int side) {
        return int(qMax<qint64>(1, (qint64(side) * maxPixelSize + longer / 2) / longer));
    };
    return QSize(scale(size.width()), scale(size.height()));
}

struct Decoded {
    QImage image;
    QList<std::pair<QString, QString>> texts;
};

Decoded decodeReduced(const QByteArray &bytes, unsigned maxPixelSize)
{
    Decoded decoded;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    // The reader scales before it applies the orientation, so the reduced size is computed on the
    // stored (untransformed) size; the aspect ratio is the same either way.
    if (size.isValid())
        reader.setScaledSize(reducedSize(size, maxPixelSize));
    for (const QString &key : reader.textKeys())
        decoded.texts.append({key, reader.text(key)});
    if (!reader.read(&decoded.image))
        return Decoded();
    // Readers without scaling support deliver the full picture.
    const QSize wanted = reducedSize(decoded.image.size(), maxPixelSize);
    if (wanted != decoded.image.size()) {
        const QColorSpace colorSpace = decoded.image.colorSpace();
        decoded.image = decoded.image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (colorSpace.isValid() && decoded.image.colorSpace() != colorSpace)
            decoded.image.setColorSpace(colorSpace);
    }
    return decoded;
}

} // namespace

bool isValidJPEG(const QByteArray &bytes)
{
    return bytes.size() >= 2 && bytes.startsWith("\xff\xd8") && bytes.endsWith("\xff\xd9");
}

bool isValidPNG(const QByteArray &bytes)
{
    return bytes.size() >= 12 && bytes.startsWith(QByteArrayView(PngSignature, 8))
        && bytes.endsWith(QByteArrayView(PngEnd, 12));
}

QByteArray scaleToMaxPixelSize(const QByteArray &bytes, unsigned maxPixelSize)
{
    if (maxPixelSize == 0)
        return bytes;
    const Decoded decoded = decodeReduced(bytes, maxPixelSize);
    if (decoded.image.isNull())
        return bytes;

    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, isValidPNG(bytes) ? "png" : "jpeg");
    for (const auto &[key, text] : decoded.texts)
        writer.setText(key, text);
    if (!writer.write(decoded.image))
        return bytes;
    return encoded;
}

QByteArray scaleIfNeeded(const QByteArray &bytes)
{
    const UserDefaults &defaults = UserDefaults::shared();
    if (!defaults.boolForKey(QStringLiteral("SCALE_IMAGES")))
        return bytes;
    const qint64 maxPixelSize = defaults.integerForKey(QStringLiteral("SCALE_MAX_PIXEL_SIZE"));
    if (maxPixelSize <= 0)
        return bytes;
    return scaleToMaxPixelSize(bytes, unsigned(qMin<qint64>(maxPixelSize, std::numeric_limits<unsigned>::max())));
}

void makePixelSized(QImage &image)
{
    if (image.width() == 0 || image.height() == 0)
        return;
    image.setDevicePixelRatio(1.0);
}

std::optional<QString> pixelSize(const QImage &image)
{
    if (image.isNull())
        return std::nullopt;
    return Localized::text("PixelSizeXByY").arg(image.width()).arg(image.height());
}

} // namespace PictureData
