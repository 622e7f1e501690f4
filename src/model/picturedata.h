#pragma once

#include <QByteArray>

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

} // namespace PictureData
