#include "lookup/jsonreader.h"

#include "model/localized.h"

#include <QJsonParseError>

namespace JsonReader {

Result<QJsonDocument> parse(const QByteArray &bytes)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || document.isNull()) {
        return Error{ErrorCode::Unreadable,
                     Localized::text("UnreadableResponseXAtOffsetX")
                         .arg(error.errorString(), QString::number(error.offset))};
    }
    return document;
}

} // namespace JsonReader
