#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>

// One element of a pattern: a literal text, or a token standing for a song field. A token keeps
// its token string as given; a token read from the store may hold a text that is no token
// string (or none at all), and it still counts as a token.
class PatternElement {
public:
    static PatternElement literal(const QString &text) { return PatternElement(false, text); }
    static PatternElement token(const QString &tokenString) { return PatternElement(true, tokenString); }

    bool isToken() const { return m_isToken; }
    bool isLiteral() const { return !m_isToken; }
    // The literal's text, or the token's token string.
    const QString &text() const { return m_text; }
    // The character positions the element takes in the pattern field: one for a token, the
    // length for a literal.
    qsizetype width() const { return m_isToken ? 1 : m_text.size(); }

    // The stored form: the text for a literal, the record {"tokenField": token string} for a
    // token.
    QVariant toVariant() const;
    // A record (map) is a token: its "tokenField" entry, "" when absent. Anything else that has
    // a text form is a literal. nullopt for values without one (lists, invalid values).
    static std::optional<PatternElement> fromVariant(const QVariant &value);

    bool operator==(const PatternElement &other) const = default;

private:
    PatternElement(bool isToken, const QString &text) : m_isToken(isToken), m_text(text) {}

    bool m_isToken;
    QString m_text;
};

// An ordered list of literals and tokens. The empty list is a valid pattern.
using Pattern = QList<PatternElement>;

namespace PatternUtil {

// The key of the one entry of a stored token record.
inline constexpr const char *TokenFieldKey = "tokenField";

// The stored form of a pattern: a list of texts (literals) and one-entry records (tokens).
QVariantList toStoredForm(const Pattern &pattern);
// Reads a stored list back; elements without a text form are left out.
Pattern fromStoredForm(const QVariantList &stored);

// The pattern stored in the settings under the key (an empty pattern when none is), and
// storing one there.
Pattern storedPattern(const QString &key);
void storePattern(const Pattern &pattern, const QString &key);

// True if some token is directly followed by another token.
bool hasNeighbouringTokens(const Pattern &pattern);

// The number of character positions of the pattern in the pattern field.
qsizetype width(const Pattern &pattern);

} // namespace PatternUtil
