#include "tools/tokenutil.h"

#include "model/localized.h"

#include <QHash>

#include <array>

namespace {

struct TokenEntry {
    const char *tokenString;
    const char *property;
    const char *settableKey;
    // Null where the token string itself is shown.
    const char *displayNameKey;
};

// In tag-number order: the position is the tag number.
constexpr std::array<TokenEntry, TokenCount> Vocabulary{{
    {"Album", "album", "album", "Album"},
    {"Album Artist", "albumArtist", "albumArtist", "AlbumArtist"},
    {"Artist", "artist", "artist", "Artist"},
    {"Disc", "discNumber", "disc", "Disc"},
    {"Disc Total", "discCount", "discCount", "DiscTotal"},
    {"Genre", "genre", "genre", "Genre"},
    {"Title", "title", "title", "Title"},
    {"Track", "trackNumber", "track", "Track"},
    {"Track Total", "trackCount", "trackCount", "TrackTotal"},
    {"Year", "year", "year", "Year"},
    {"Comment", "comment", "comment", "Comment"},
    {"Composer", "composer", "composer", "Composer"},
    {"Bitrate", "bitrate", "bitrate", nullptr},
    {"Length", "length", "length", nullptr},
    {"File Name", "fileName", "fileName", "FileName"},
    {"File Path", "filePath", "filePath", "FilePath"},
}};

// Built once, on first use, and never changed afterwards.
struct Lookup {
    QStringList strings;
    QHash<QString, Token> tokens;

    Lookup()
    {
        for (std::size_t i = 0; i < Vocabulary.size(); ++i) {
            const QString text = QString::fromLatin1(Vocabulary[i].tokenString);
            strings.append(text);
            tokens.insert(text, Token(i));
        }
    }
};

const Lookup &lookup()
{
    static const Lookup instance;
    return instance;
}

const TokenEntry *entryFor(const QString &tokenString)
{
    const std::optional<Token> token = TokenUtil::tokenForString(tokenString);
    return token ? &Vocabulary[std::size_t(*token)] : nullptr;
}

} // namespace

InvalidTokenString::InvalidTokenString(const QString &text)
    : std::invalid_argument(Name),
      m_reason(Localized::text("XIsNotAValidTokenString").arg(text)),
      m_what(m_reason.toUtf8())
{
}

InvalidToken::InvalidToken(const QString &element)
    : std::invalid_argument(Name),
      m_reason(Localized::text("XIsNotAValidToken").arg(element)),
      m_what(m_reason.toUtf8())
{
}

InvalidTokenTag::InvalidTokenTag(uint tag)
    : std::out_of_range("token tag " + std::to_string(tag) + " is beyond the vocabulary")
{
}

namespace TokenUtil {

const QStringList &tokenStrings()
{
    return lookup().strings;
}

QString tokenString(Token token)
{
    return tokenStrings().at(qsizetype(token));
}

std::optional<Token> tokenForString(const QString &text)
{
    const auto found = lookup().tokens.constFind(text);
    if (found == lookup().tokens.constEnd())
        return std::nullopt;
    return *found;
}

bool isToken(const QVariant &element)
{
    return element.typeId() == QMetaType::QVariantMap || element.typeId() == QMetaType::QVariantHash;
}

bool isToken(const PatternElement &element)
{
    return element.isToken();
}

bool isTokenString(const QString &text)
{
    return tokenForString(text).has_value();
}

PatternElement tokenWithTokenString(const QString &text)
{
    if (!isTokenString(text))
        throw InvalidTokenString(text);
    return PatternElement::token(text);
}

PatternElement tokenWithTag(uint tag)
{
    if (tag >= uint(TokenCount))
        throw InvalidTokenTag(tag);
    return PatternElement::token(tokenStrings().at(qsizetype(tag)));
}

PatternElement tokenWithToken(Token token)
{
    return PatternElement::token(tokenString(token));
}

QString stringFromToken(const PatternElement &element)
{
    if (!element.isToken())
        throw InvalidToken(element.text());
    return element.text();
}

QString propertyStringFromToken(const PatternElement &element)
{
    return propertyStringFromTag(stringFromToken(element));
}

QString propertyStringFromTag(const QString &tokenString)
{
    const TokenEntry *entry = entryFor(tokenString);
    return entry ? QString::fromLatin1(entry->property) : QString();
}

QString propertyStringKVOCompliantFromTag(const QString &tokenString)
{
    const TokenEntry *entry = entryFor(tokenString);
    return entry ? QString::fromLatin1(entry->settableKey) : QString();
}

QString localizedTokenString(const QString &tokenString)
{
    const TokenEntry *entry = entryFor(tokenString);
    if (!entry || !entry->displayNameKey)
        return tokenString;
    return Localized::text(entry->displayNameKey);
}

} // namespace TokenUtil
