#include "tools/delimitedtextdecoder.h"

#include <QLoggingCategory>
#include <QStringDecoder>

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>

namespace DelimitedTextDecoder {

namespace {

Q_LOGGING_CATEGORY(lcDecoder, "quorl.tools.delimited", QtInfoMsg)

struct Mark {
    std::array<uchar, 4> bytes;
    qsizetype size;
    Encoding encoding;
};

// In the order they are tested: the UTF-32 little-endian mark begins with the UTF-16 one.
constexpr std::array<Mark, 6> Marks{{
    {{0x00, 0x00, 0xFE, 0xFF}, 4, Encoding::Utf32BigEndian},
    {{0xFF, 0xFE, 0x00, 0x00}, 4, Encoding::Utf32LittleEndian},
    {{0x1B, 0x24, 0x29, 0x43}, 4, Encoding::Iso2022Kr},
    {{0xFE, 0xFF}, 2, Encoding::Utf16BigEndian},
    {{0xFF, 0xFE}, 2, Encoding::Utf16LittleEndian},
    {{0xEF, 0xBB, 0xBF}, 3, Encoding::Utf8},
}};

// A character cut off at the end of the detection window may have left up to three bytes.
constexpr qsizetype MaxCutBytes = 3;

// The chunk size in which a UTF-8 text with an invalid sequence is decoded again to find it.
constexpr qsizetype ProbeChunk = 512;

bool startsWith(QByteArrayView bytes, const Mark &mark)
{
    if (bytes.size() < mark.size)
        return false;
    for (qsizetype i = 0; i < mark.size; ++i) {
        if (uchar(bytes[i]) != mark.bytes[std::size_t(i)])
            return false;
    }
    return true;
}

bool isUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    // Decoding happens when the result becomes a QString.
    const QString text = decoder.decode(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

QStringDecoder qtDecoder(QStringConverter::Encoding encoding)
{
    // A second mark right after the skipped one is a character of the text.
    return QStringDecoder(encoding, QStringConverter::Flag::ConvertInitialBom);
}

// Qt replaces an invalid sequence and goes on, without telling where it was. The text is decoded
// again, chunk by chunk until the chunk with the error, then byte by byte within it: a sequence
// that turns out invalid makes the piece of the byte that revealed it the first erroneous one.
QString decodeUtf8BeforeError(QByteArrayView bytes)
{
    QString text;
    QStringDecoder chunks = qtDecoder(QStringConverter::Utf8);
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype length = std::min(ProbeChunk, bytes.size() - start);
        const QString piece = chunks.decode(bytes.sliced(start, length));
        if (chunks.hasError())
            break;
        text += piece;
        start += length;
    }
    QStringDecoder bytewise = qtDecoder(QStringConverter::Utf8);
    // Brings the decoder to the state it had at the start of the chunk with the error.
    const QString replayed = bytewise.decode(bytes.first(start));
    Q_UNUSED(replayed);
    for (qsizetype i = start; i < bytes.size(); ++i) {
        const QString piece = bytewise.decode(bytes.sliced(i, 1));
        if (bytewise.hasError())
            break;
        text += piece;
    }
    return text;
}

QString decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder = qtDecoder(QStringConverter::Utf8);
    QString text = decoder.decode(bytes);
    // An incomplete sequence at the end stays in the decoder's state and is left out.
    return decoder.hasError() ? decodeUtf8BeforeError(bytes) : text;
}

quint32 unitAt(QByteArrayView bytes, qsizetype offset, qsizetype width, bool bigEndian)
{
    quint32 value = 0;
    for (qsizetype i = 0; i < width; ++i) {
        const uchar byte = uchar(bytes[offset + (bigEndian ? i : width - 1 - i)]);
        value = (value << 8) | byte;
    }
    return value;
}

// Qt's UTF-16 and UTF-32 decoders pass unpaired surrogates and values beyond U+10FFFF through,
// so the valid length is found here; an odd unit at the end is incomplete and left out.
qsizetype validUtf16Length(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2;
    qsizetype i = 0;
    while (i < units) {
        const quint32 unit = unitAt(bytes, i * 2, 2, bigEndian);
        if (QChar::isLowSurrogate(unit))
            break;
        if (QChar::isHighSurrogate(unit)) {
            if (i + 1 >= units || !QChar::isLowSurrogate(unitAt(bytes, (i + 1) * 2, 2, bigEndian)))
                break;
            ++i;
        }
        ++i;
    }
    return i * 2;
}

qsizetype validUtf32Length(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 4;
    qsizetype i = 0;
    for (; i < units; ++i) {
        const quint32 value = unitAt(bytes, i * 4, 4, bigEndian);
        if (value > QChar::LastValidCodePoint || QChar::isSurrogate(value))
            break;
    }
    return i * 4;
}

QString decodeWithQt(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    QStringDecoder decoder = qtDecoder(encoding);
    return decoder.decode(bytes);
}

// The encodings Qt has no decoder for, through ICU's converters, which stop at the first invalid
// or incomplete sequence and keep what they decoded before it.
QString decodeWithIcu(QByteArrayView bytes, const char *converterName)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open(converterName, &status), ucnv_close);
    if (U_FAILURE(status)) {
        qCWarning(lcDecoder) << "no converter for" << converterName << u_errorName(status);
        return QString();
    }
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    QString text;
    const char *source = bytes.data();
    const char *const sourceEnd = source + bytes.size();
    std::array<UChar, 1024> buffer;
    for (;;) {
        UChar *target = buffer.data();
        status = U_ZERO_ERROR;
        ucnv_toUnicode(converter.get(), &target, buffer.data() + buffer.size(), &source, sourceEnd, nullptr,
                       true, &status);
        text.append(reinterpret_cast<const QChar *>(buffer.data()), target - buffer.data());
        if (status != U_BUFFER_OVERFLOW_ERROR)
            break;
    }
    return text;
}

// The bytes Windows-1252 leaves undefined; a text holding one was not written in it.
bool hasUndefinedWindows1252Byte(QByteArrayView bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const uchar byte = uchar(c);
        return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
    });
}

// Quotation marks, dashes and the ellipsis, which stand beside words.
bool isTypographicPunctuation(QChar c)
{
    static constexpr char16_t Marks[] = {0x2018, 0x2019, 0x201C, 0x201D, 0x2013, 0x2014, 0x2026, 0x00AB, 0x00BB};
    return std::find(std::begin(Marks), std::end(Marks), c.unicode()) != std::end(Marks);
}

// How much the characters beyond ASCII of a text look like what they would be in words. Both
// encodings keep ASCII, so only these characters tell them apart: the same bytes read "Café" in
// one and "CafÈ" in the other, "It’s – “live”" in one and "Itís ñ ìliveî" in the other. Letters
// next to letters count for it, a capital right after a small letter and a symbol inside a word
// against it; quotation marks and dashes beside words count for it.
int plausibility(const QString &text)
{
    constexpr char16_t Apostrophe = 0x2019;
    int score = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80)
            continue;
        const QChar before = i > 0 ? text.at(i - 1) : QChar(u' ');
        const QChar after = i + 1 < text.size() ? text.at(i + 1) : QChar(u' ');
        // Modifier letters (the caron, the circumflex) stand alone as accents rather than in
        // words.
        if (c.isLetter() && c.category() != QChar::Letter_Modifier) {
            if (c.isUpper() && before.isLower())
                --score;
            else if (before.isLetter() || after.isLetter())
                ++score;
        } else if (before.isLetter() && after.isLetter()) {
            score += c.unicode() == Apostrophe ? 1 : -1;
        } else if (isTypographicPunctuation(c)) {
            ++score;
        }
    }
    return score;
}

Encoding singleByteEncoding(QByteArrayView bytes)
{
    if (hasUndefinedWindows1252Byte(bytes))
        return Encoding::MacOSRoman;
    const int windows = plausibility(decode(bytes, Encoding::Windows1252));
    const int mac = plausibility(decode(bytes, Encoding::MacOSRoman));
    return windows > mac ? Encoding::Windows1252 : Encoding::MacOSRoman;
}

} // namespace

Detection detectEncoding(QByteArrayView bytes)
{
    for (const Mark &mark : Marks) {
        if (startsWith(bytes, mark))
            return {mark.encoding, mark.size};
    }
    const QByteArrayView head = bytes.first(std::min(bytes.size(), DetectionLength));
    for (qsizetype cut = 0; cut <= MaxCutBytes && cut <= head.size(); ++cut) {
        if (isUtf8(head.chopped(cut)))
            return {Encoding::Utf8, 0};
    }
    const Encoding encoding = singleByteEncoding(bytes);
    if (encoding == Encoding::MacOSRoman)
        qCInfo(lcDecoder) << "unable to determine stream encoding; assuming MacOSRoman";
    return {encoding, 0};
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return decodeUtf8(bytes);
    case Encoding::Utf16BigEndian:
        return decodeWithQt(bytes.first(validUtf16Length(bytes, true)), QStringConverter::Utf16BE);
    case Encoding::Utf16LittleEndian:
        return decodeWithQt(bytes.first(validUtf16Length(bytes, false)), QStringConverter::Utf16LE);
    case Encoding::Utf32BigEndian:
        return decodeWithQt(bytes.first(validUtf32Length(bytes, true)), QStringConverter::Utf32BE);
    case Encoding::Utf32LittleEndian:
        return decodeWithQt(bytes.first(validUtf32Length(bytes, false)), QStringConverter::Utf32LE);
    case Encoding::Iso2022Kr:
        return decodeWithIcu(bytes, "ISO_2022,locale=ko,version=0");
    case Encoding::MacOSRoman:
        return decodeWithIcu(bytes, "macintosh");
    case Encoding::Windows1252:
        return decodeWithIcu(bytes, "windows-1252");
    }
    return QString();
}

QString decodeDocument(QByteArrayView bytes, Detection *detected)
{
    const Detection detection = detectEncoding(bytes);
    if (detected)
        *detected = detection;
    return decode(bytes.sliced(detection.bytesSkipped), detection.encoding);
}

QString encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8: return QStringLiteral("UTF-8");
    case Encoding::Utf16BigEndian: return QStringLiteral("UTF-16BE");
    case Encoding::Utf16LittleEndian: return QStringLiteral("UTF-16LE");
    case Encoding::Utf32BigEndian: return QStringLiteral("UTF-32BE");
    case Encoding::Utf32LittleEndian: return QStringLiteral("UTF-32LE");
    case Encoding::Iso2022Kr: return QStringLiteral("ISO-2022-KR");
    case Encoding::MacOSRoman: return QStringLiteral("MacOSRoman");
    case Encoding::Windows1252: return QStringLiteral("Windows-1252");
    }
    return QString();
}

} // namespace DelimitedTextDecoder
