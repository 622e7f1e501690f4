#pragma once

#include <QByteArray>
#include <QString>

#include <taglib/tbytevector.h>
#include <taglib/tstring.h>

// Conversions from song values to TagLib values for the writers.
namespace TagText {

// The song text trimmed at both ends, as a UTF-8 TagLib string up to the first NUL character;
// an empty text gives the null string, which makes TagLib remove the field.
TagLib::String fromSongText(const QString &text);

// A copy of the bytes.
TagLib::ByteVector fromBytes(const QByteArray &bytes);

} // namespace TagText
