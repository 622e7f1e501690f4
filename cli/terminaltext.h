#pragma once

#include <QString>

// Texts from tags, file names and the lookup on their way to a terminal. A control character
// would act on the terminal instead of being shown (an escape sequence recolours it, sets its
// title or moves the cursor), so human output shows them as escapes; JSON output carries them
// exactly.
namespace TerminalText {

// The text with every C0 and C1 control character and DEL written as an escape: "\e" for ESC,
// "\t", "\n" and "\r" for those, "\xHH" for the others (U+0085 becomes "\x85").
QString escaped(const QString &text);
// The same for a text of several lines: its line breaks stay.
QString escapedLines(const QString &text);

} // namespace TerminalText
