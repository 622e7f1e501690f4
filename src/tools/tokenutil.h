#pragma once

#include "tools/pattern.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <stdexcept>

// The sixteen tokens; the value of each is its tag number, the position of its token string in
// the vocabulary.
enum class Token : quint8 {
    Album,
    AlbumArtist,
    Artist,
    Disc,
    DiscTotal,
    Genre,
    Title,
    Track,
    TrackTotal,
    Year,
    Comment,
    Composer,
    Bitrate,
    Length,
    FileName,
    FilePath,
};
inline constexpr int TokenCount = 16;

// Misuses of the vocabulary are programming errors, and the only exceptions of the system: they
// end the user action that ran into them. Each carries the name of its kind and a localized
// reason; what() is the reason in UTF-8.

// A text that is no token string was used as one.
class InvalidTokenString : public std::invalid_argument {
public:
    explicit InvalidTokenString(const QString &text);
    static constexpr const char *Name = "InvalidTokenString";
    const QString &reason() const { return m_reason; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_reason;
    QByteArray m_what;
};

// A literal was used where a token was needed.
class InvalidToken : public std::invalid_argument {
public:
    explicit InvalidToken(const QString &element);
    static constexpr const char *Name = "InvalidToken";
    const QString &reason() const { return m_reason; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_reason;
    QByteArray m_what;
};

// A tag number beyond the vocabulary.
class InvalidTokenTag : public std::out_of_range {
public:
    explicit InvalidTokenTag(uint tag);
    static constexpr const char *Name = "InvalidTokenTag";
};

// The token vocabulary: token strings, the song properties they stand for and their display
// names. Token strings are compared exactly ("Album Artist" with its blank, case-sensitive);
// they are also the column headers of the TSV song list.
namespace TokenUtil {

// The sixteen token strings in tag-number order.
const QStringList &tokenStrings();
QString tokenString(Token token);
// The token for a token string; nullopt for any other text.
std::optional<Token> tokenForString(const QString &text);

// Any record (a map) is a token; texts are literals.
bool isToken(const QVariant &element);
bool isToken(const PatternElement &element);
bool isTokenString(const QString &text);

// Throws InvalidTokenString for a text that is no token string.
PatternElement tokenWithTokenString(const QString &text);
// Throws InvalidTokenTag for a tag number above 15.
PatternElement tokenWithTag(uint tag);
PatternElement tokenWithToken(Token token);

// The token string of a token; throws InvalidToken for a literal.
QString stringFromToken(const PatternElement &element);
// propertyStringFromTag() of the token's string; throws InvalidToken for a literal.
QString propertyStringFromToken(const PatternElement &element);

// The song property the token string reads ("trackNumber" for "Track"); a null text for any
// other text.
QString propertyStringFromTag(const QString &tokenString);
// The song property by which the field is written ("track" for "Track"); a null text for any
// other text. The TSV import maps its column headers through this.
QString propertyStringKVOCompliantFromTag(const QString &tokenString);
// The localized display name of the token string; for "Bitrate", "Length" and any other text
// the text itself.
QString localizedTokenString(const QString &tokenString);

} // namespace TokenUtil
