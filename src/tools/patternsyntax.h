#pragma once

#include "model/result.h"
#include "tools/pattern.h"

#include <QString>

// The text form of patterns on the command line: "{Track} - {Title}". A token string in braces
// is a token, "{{" and "}}" are literal braces, everything else (a lone "}" included) is literal
// text. Parsing fails for braces that name no token string or are never closed.
namespace PatternSyntax {

// The pattern written in the text, or an InvalidArgument error whose detail says what is wrong
// (localized, for the user).
Result<Pattern> parse(const QString &text);
// The text form of a pattern; parse() gives the pattern back whenever its tokens hold token
// strings. Neighbouring literals come out as one.
QString format(const Pattern &pattern);

} // namespace PatternSyntax
