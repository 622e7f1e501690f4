#pragma once

#include "tools/pattern.h"

class QMimeData;

// The clipboard form of a piece of pattern: its stored form as a JSON array under a type of its
// own, so that tokens survive copy and paste, and its text form ("{Track} - {Title}") as plain
// text for other programs.
namespace PatternClipboard {

inline constexpr const char *MimeType = "application/x-quorl-pattern";

// A new clipboard content for the piece; the caller owns it.
QMimeData *mimeData(const Pattern &piece);
// The piece a clipboard content pastes: the pattern it holds, else its plain text as one literal
// with line breaks made blanks (a pattern is one line). Plain text never gives tokens. Empty when
// there is neither.
Pattern pattern(const QMimeData *data);

} // namespace PatternClipboard
