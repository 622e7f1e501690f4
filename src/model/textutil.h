#pragma once

#include <QByteArray>
#include <QString>

// Text operations shared by the song setters, the tag writers and the batch tools.
namespace TextUtil {

// The text without white space and line breaks at both ends; inner ones are kept. Returns a
// shared copy (no allocation) when there is nothing to remove.
QString trimmedString(const QString &text);

// trimmedString() as UTF-8; constData() of the result is NUL-terminated.
QByteArray trimmedCString(const QString &text);

// Natural order of a against b: -1, 0 or +1, with runs of ASCII digits compared by their value
// ("track2" < "track10", "a01" == "a1"); other characters compare as UTF-16 code units.
int numericalCompare(const QString &a, const QString &b);

} // namespace TextUtil
