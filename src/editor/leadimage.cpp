#include "editor/leadimage.h"

#include "model/localized.h"

#include <QBuffer>
#include <QImageReader>

std::optional<QString> pixelSize(const QByteArray &encodedPicture)
{
    QBuffer buffer;
    buffer.setData(encodedPicture);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid())
        return std::nullopt;
    return Localized::text("PixelSizeXByY").arg(size.width()).arg(size.height());
}

std::optional<QString> LeadImage2ImageSizeTransformer::transformedValue(const LeadImage &leadImage)
{
    if (leadImage.kind != LeadImage::Kind::Picture)
        return std::nullopt;
    return pixelSize(leadImage.data);
}
