#pragma once

#include "model/result.h"

#include <QByteArray>
#include <QJsonDocument>

// Strict parsing of web API responses: well-formed UTF-8, no comments, nothing but white space
// after the top-level object or array, in strings only the escapes JSON defines and no raw
// control characters.
namespace JsonReader {

// The document, or an Unreadable error whose detail says what is wrong and where (for the user).
Result<QJsonDocument> parse(const QByteArray &bytes);

} // namespace JsonReader
