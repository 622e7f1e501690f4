#pragma once

#include <QByteArrayView>
#include <QString>

// Turns the bytes of a delimited text file into text: the encoding is told by a byte-order mark
// or an escape sequence at the start, else UTF-8 if the start decodes as UTF-8, else Windows-1252
// or Mac OS Roman, whichever reads as the more plausible text (Mac OS Roman when they tie).
// Decoding stops for good at the first byte sequence that is not valid in that encoding: the text
// before it is the whole text. The result never holds an unpaired surrogate.
namespace DelimitedTextDecoder {

enum class Encoding {
    Utf8,
    Utf16BigEndian,
    Utf16LittleEndian,
    Utf32BigEndian,
    Utf32LittleEndian,
    Iso2022Kr,
    MacOSRoman,
    Windows1252,
};

// How many leading bytes detection looks at.
inline constexpr qsizetype DetectionLength = 512;

struct Detection {
    Encoding encoding = Encoding::Utf8;
    // The byte-order mark or escape sequence that told the encoding; not part of the text.
    qsizetype bytesSkipped = 0;
};

Detection detectEncoding(QByteArrayView bytes);

// The bytes decoded in the encoding up to the first invalid sequence (an incomplete sequence at
// the end counts as invalid).
QString decode(QByteArrayView bytes, Encoding encoding);

// detectEncoding(), then decode() of the bytes after the skipped ones.
QString decodeDocument(QByteArrayView bytes, Detection *detected = nullptr);

// A name for logs and test output ("UTF-16LE", "MacOSRoman").
QString encodingName(Encoding encoding);

} // namespace DelimitedTextDecoder
