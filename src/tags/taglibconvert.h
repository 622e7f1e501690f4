#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace TagLib {
class ByteVector;
class String;
}

// Conversions at the boundary to TagLib, both ways.
namespace TagLibConvert {

// The text as its NUL-terminated UTF-8 form reads: everything from the first embedded NUL on is
// dropped, and a text that cannot be encoded as UTF-8 (a lone surrogate) comes out empty, as it
// does from TagLib's own UTF-8 conversion. Never null, so it can be passed to a setter.
QString toQString(const TagLib::String &text);

// A copy of the bytes.
QByteArray toQByteArray(const TagLib::ByteVector &bytes);
// The bytes without a copy; valid while the vector lives unchanged.
QByteArrayView toQByteArrayView(const TagLib::ByteVector &bytes);

// The song text trimmed at both ends, as a UTF-8 TagLib string up to the first NUL character;
// an empty text gives the null string, which makes TagLib remove the field.
TagLib::String fromSongText(const QString &text);

// A copy of the bytes.
TagLib::ByteVector toByteVector(const QByteArray &bytes);

} // namespace TagLibConvert
