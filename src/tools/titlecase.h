#pragma once

#include <QList>
#include <QString>

// The case operations of the capitalization tool: title case in the New York style and the full
// Unicode case mappings of the current locale.
namespace TextUtil {

// One word of a text: its start and length in UTF-16 code units.
struct WordRange {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const WordRange &, const WordRange &) = default;
};

// The words of the text by the Unicode word boundaries, in text order. Runs of blanks and
// punctuation between words are not words; "don't" and "e.g" are one word each, "AB/CD" two.
QList<WordRange> wordRanges(const QString &text);

// The text in title case: every word capitalized (first character upper case, the rest lower
// case) except the small words ("of", "the", ...) inside the text and the words that carry an
// upper-case letter or "." after their first character, which stay as typed. The first word is
// never small; a small word that ends the text is capitalized unless the last word tested for
// inner capitals had one. Reads DISABLE_NEW_YORK_STYLE at each call: when it is on, small words
// are capitalized like all others.
QString titlecaseString(const QString &text);
QString titlecaseString(const QString &text, bool newYorkStyle);

// True for the 19 small words of New York style; the argument must be in lower case.
bool isSmallWord(const QString &lowercaseWord);

// The first character upper case and the rest lower case, with the full mappings of the current
// locale ("ßa" gives "SSa").
QString capitalizedString(const QString &word);

// The full Unicode case mappings of the current locale ("Straße" gives "STRASSE").
QString uppercaseString(const QString &text);
QString lowercaseString(const QString &text);

} // namespace TextUtil
