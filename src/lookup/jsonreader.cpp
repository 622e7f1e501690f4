#include "lookup/jsonreader.h"

#include "model/localized.h"

#include <QJsonParseError>

#include <cstring>

namespace {

// Qt's parser takes any character after a backslash as itself ("\q" reads as "q", and a byte
// that is no UTF-8 on its own reads as a Latin-1 character) and lets control characters stand
// unescaped in strings. Checks the strings of a document Qt has accepted for both; the offset of
// the first fault, or -1.
qsizetype stringFault(const QByteArray &bytes, QJsonParseError::ParseError *fault)
{
    bool inString = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (!inString) {
            inString = c == '"';
        } else if (c == '"') {
            inString = false;
        } else if (c == '\\') {
            const char escaped = i + 1 < bytes.size() ? bytes.at(i + 1) : '\0';
            if (!std::strchr("\"\\/bfnrtu", escaped) || escaped == '\0') {
                *fault = QJsonParseError::IllegalEscapeSequence;
                return i;
            }
            ++i; // the four hex digits of \u Qt checks itself
        } else if (static_cast<unsigned char>(c) < 0x20) {
            *fault = QJsonParseError::IllegalValue;
            return i;
        }
    }
    return -1;
}

} // namespace

namespace JsonReader {

Result<QJsonDocument> parse(const QByteArray &bytes)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError && !document.isNull()) {
        const qsizetype offset = stringFault(bytes, &error.error);
        if (offset >= 0)
            error.offset = int(offset);
    }
    if (error.error != QJsonParseError::NoError || document.isNull()) {
        return Error{ErrorCode::Unreadable,
                     Localized::text("UnreadableResponseXAtOffsetX")
                         .arg(error.errorString(), QString::number(error.offset))};
    }
    return document;
}

} // namespace JsonReader
