#include "tags/tagtext.h"

#include "model/textutil.h"

namespace TagText {

TagLib::String fromSongText(const QString &text)
{
    const QByteArray utf8 = TextUtil::trimmedCString(text);
    // Read as a C string on purpose: the tag gets the text up to an embedded NUL, as readers of
    // NUL-terminated texts would see it.
    if (utf8.isEmpty() || utf8.front() == '\0')
        return TagLib::String();
    return TagLib::String(utf8.constData(), TagLib::String::UTF8);
}

TagLib::ByteVector fromBytes(const QByteArray &bytes)
{
    return TagLib::ByteVector(bytes.constData(), static_cast<unsigned int>(bytes.size()));
}

} // namespace TagText
