#include "tags/taglibconvert.h"

#include "model/textutil.h"

#include <taglib/tbytevector.h>
#include <taglib/tstring.h>

namespace TagLibConvert {

QString toQString(const TagLib::String &text)
{
    // TagLib keeps UTF-16 code units in a wide string. Copying them directly gives the same text
    // as a round trip through UTF-8 without encoding and decoding it.
    const wchar_t *units = text.toCWString();
    const qsizetype size = qsizetype(text.size());
    if (size == 0)
        return QStringLiteral("");
    QString result(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    qsizetype end = -1;
    bool expectLow = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = char16_t(units[i]);
        const bool isHigh = unit >= 0xD800 && unit <= 0xDBFF;
        const bool isLow = unit >= 0xDC00 && unit <= 0xDFFF;
        if (expectLow != isLow)
            return QStringLiteral("");
        expectLow = isHigh;
        if (unit == 0 && end < 0)
            end = i;
        out[i] = unit;
    }
    if (expectLow)
        return QStringLiteral("");
    if (end >= 0)
        result.truncate(end);
    return result;
}

QByteArray toQByteArray(const TagLib::ByteVector &bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QByteArrayView toQByteArrayView(const TagLib::ByteVector &bytes)
{
    // The const data() never detaches a vector that shares its bytes with the tag.
    return QByteArrayView(bytes.data(), qsizetype(bytes.size()));
}

TagLib::String fromSongText(const QString &text)
{
    const QByteArray utf8 = TextUtil::trimmedCString(text);
    // Read as a C string on purpose: the tag gets the text up to an embedded NUL, as readers of
    // NUL-terminated texts would see it.
    if (utf8.isEmpty() || utf8.front() == '\0')
        return TagLib::String();
    return TagLib::String(utf8.constData(), TagLib::String::UTF8);
}

TagLib::ByteVector toByteVector(const QByteArray &bytes)
{
    return TagLib::ByteVector(bytes.constData(), static_cast<unsigned int>(bytes.size()));
}

} // namespace TagLibConvert
