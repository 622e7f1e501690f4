#pragma once

#include "tools/pattern.h"

#include <QString>

#include <optional>

class Song;

// Fills the fields of one song from one of its texts read against a pattern: each token takes
// the part of the text up to the first occurrence of the literal after it (or the whole rest
// when it is last), each literal skips as many characters as it has. Keeps no state.
namespace TagExtractor {

// For extractToken(): the token takes the whole rest.
inline constexpr qsizetype ToEnd = -1;

// Matches the text of the song's property (by name: "fileNameWithoutExtension", "title", ...)
// against the pattern and sets the tokens' fields. nullopt when the whole pattern matched;
// otherwise the localized reason, with the fields matched before the failure left set.
std::optional<QString> extractTags(const Pattern &pattern, Song &ofSong, const QString &fromProperty);

// Takes the first toPos characters of the rest (all of them for ToEnd) off its start and sets
// the token's field of the song to them.
void extractToken(const PatternElement &token, QString *fromProperty, qsizetype toPos, Song &intoSong);

// The source's name for messages: "FileName" for "fileNameWithoutExtension" and any unknown
// name, "Title" for "title"; in lower case unless the user's first language is German.
QString localizedLowercaseExtractionSourceString(const QString &property);
// The source's name as a label: as above, plus "Comment" for "comment", never changed in case.
QString localizedCapitalizedExtractionSourceString(const QString &property);

} // namespace TagExtractor
