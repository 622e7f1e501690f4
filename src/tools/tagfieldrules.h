#pragma once

#include "tools/pattern.h"

#include <QString>

#include <optional>

// What the pattern field of the custom-pattern editor does with its elements, as functions of a
// pattern, so that any field widget can follow them. In the field's editing text a token takes
// one character position and a literal as many as it has characters.
namespace TagFieldRules {

struct Insertion {
    Pattern pattern;
    // The caret after the insertion: just after the new token.
    qsizetype caret = 0;
};

// Inserts the token with the tag number at the caret: before the element that starts there,
// between the two halves of a literal the caret is inside of, or at the end when the caret is
// at or past the end. Throws InvalidTokenTag for a tag number above 15.
Insertion addToken(const Pattern &pattern, qsizetype caret, uint tag);
// The same, after deleting the selected positions [selectionStart, selectionStart +
// selectionLength); the caret is then the start of the selection.
Insertion addToken(const Pattern &pattern, qsizetype selectionStart, qsizetype selectionLength, uint tag);
Insertion insertToken(const Pattern &pattern, qsizetype caret, const PatternElement &token);

// Deletes the character positions [start, start + length): tokens inside go whole, literals
// are cut. Literals that come to stand next to each other are joined.
Pattern removeRange(const Pattern &pattern, qsizetype start, qsizetype length);

// What the field shows for an element: a token its localized display name, a literal itself.
QString displayText(const PatternElement &element);
// Whether the element is drawn as a rounded token (else as plain text).
bool isDrawnAsToken(const PatternElement &element);
// The element that text typed into the field becomes at the end of an edit: the token whose
// token string equals it exactly, else a literal.
PatternElement elementForTypedText(const QString &text);
// The text an element can be edited as: none for a token, its own text for a literal.
std::optional<QString> editableText(const PatternElement &element);

} // namespace TagFieldRules
