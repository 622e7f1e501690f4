#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QImage;

// Operations on encoded picture bytes (the data of an Image). Stateless; any thread.
namespace PictureData {

// At least 2 bytes, beginning with FF D8 and ending with FF D9. Only the ends are examined.
bool isValidJPEG(const QByteArray &bytes);

// At least 12 bytes, beginning with the PNG signature and ending with an empty IEND chunk.
bool isValidPNG(const QByteArray &bytes);

// The picture re-encoded with its longer side at most maxPixelSize, orientation applied, colour
// space and text metadata kept: PNG if the input is a PNG, else JPEG. A smaller picture is
// re-encoded at its own size. Returns the input unchanged if it cannot be decoded or encoded.
QByteArray scaleToMaxPixelSize(const QByteArray &bytes, unsigned maxPixelSize);

// scaleToMaxPixelSize() with "SCALE_MAX_PIXEL_SIZE" if "SCALE_IMAGES" is on, else the input.
QByteArray scaleIfNeeded(const QByteArray &bytes);

// Operations on displayable (decoded) pictures. A picture's display size is its pixel size
// divided by its device pixel ratio.

// Makes the display size the pixel size (device pixel ratio 1). A picture without pixels (null,
// or 0 wide or high) stays as it is.
void makePixelSized(QImage &image);

// "<width> × <height> px" of the picture's pixels, through the string table; none for a picture
// without pixels.
std::optional<QString> pixelSize(const QImage &image);

} // namespace PictureData
