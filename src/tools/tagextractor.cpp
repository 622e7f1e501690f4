#include "tools/tagextractor.h"

#include "model/localized.h"
#include "model/song.h"
#include "tools/tokenutil.h"

#include <QLocale>

namespace {

const QString Slash = QStringLiteral("/");

// A taken value is never null: the setters ignore null, and an empty value is a real one.
QString nonNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// The value with the stored count kept: "3" on "1/2" gives "3/2".
QString withStoredCount(const QString &value, const QString &stored)
{
    const qsizetype slash = stored.indexOf(Slash);
    return slash < 0 ? value : value + stored.sliced(slash);
}

// The stored number with the value as count: "2" on "1" or "1/5" gives "1/2", on "" "/2".
QString withStoredNumber(const QString &value, const QString &stored)
{
    if (stored.isEmpty())
        return Slash + value;
    return Song::firstStringInPair(stored) + Slash + value;
}

void setField(Token token, const QString &value, Song &song)
{
    switch (token) {
    case Token::Album: song.setAlbum(value); break;
    case Token::AlbumArtist: song.setAlbumArtist(value); break;
    case Token::Artist: song.setArtist(value); break;
    case Token::Genre: song.setGenre(value); break;
    case Token::Title: song.setTitle(value); break;
    case Token::Comment: song.setComment(value); break;
    case Token::Composer: song.setComposer(value); break;
    case Token::Disc: song.setDisc(withStoredCount(value, song.disc())); break;
    case Token::DiscTotal: song.setDisc(withStoredNumber(value, song.disc())); break;
    case Token::Track: song.setTrack(withStoredCount(value, song.track())); break;
    case Token::TrackTotal: song.setTrack(withStoredNumber(value, song.track())); break;
    // The text's leading decimal integer, 0 without one.
    case Token::Year: song.setYear(value); break;
    // Properties of the file, not tags: the characters are consumed and nothing is set.
    case Token::Bitrate:
    case Token::Length:
    case Token::FileName:
    case Token::FilePath: break;
    }
}

QString sourceDoesntContain(const QString &property, const QString &literal)
{
    return Localized::text("TheSourceDoesntContainX")
        .arg(TagExtractor::localizedLowercaseExtractionSourceString(property), literal);
}

const char *sourceNameKey(const QString &property, bool knowsComment)
{
    if (property == QLatin1String("title"))
        return "Title";
    if (knowsComment && property == QLatin1String("comment"))
        return "Comment";
    return "FileName";
}

} // namespace

namespace TagExtractor {

std::optional<QString> extractTags(const Pattern &pattern, Song &ofSong, const QString &fromProperty)
{
    QString rest = nonNull(ofSong.valueForKey(fromProperty).toString());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const PatternElement &element = pattern[i];
        if (element.isLiteral()) {
            // Its characters are skipped, not compared. A rest shorter than the literal cannot
            // hold it.
            if (element.text().size() > rest.size())
                return sourceDoesntContain(fromProperty, element.text());
            rest.remove(0, element.text().size());
            continue;
        }
        if (i + 1 == pattern.size()) {
            extractToken(element, &rest, ToEnd, ofSong);
            return std::nullopt;
        }
        const PatternElement &next = pattern[i + 1];
        if (next.isToken())
            return Localized::text("TagsNeedToBeSeparatedByAtLeastOneCharacter");
        const qsizetype found = rest.indexOf(next.text());
        if (found < 0) {
            extractToken(element, &rest, ToEnd, ofSong);
            return sourceDoesntContain(fromProperty, next.text());
        }
        extractToken(element, &rest, found, ofSong);
    }
    return std::nullopt;
}

void extractToken(const PatternElement &token, QString *fromProperty, qsizetype toPos, Song &intoSong)
{
    const qsizetype length = toPos == ToEnd ? fromProperty->size() : qMin(toPos, fromProperty->size());
    const QString value = nonNull(fromProperty->first(length));
    fromProperty->remove(0, length);
    if (const std::optional<Token> field = TokenUtil::tokenForString(TokenUtil::stringFromToken(token)))
        setField(*field, value, intoSong);
}

QString localizedLowercaseExtractionSourceString(const QString &property)
{
    const QString name = Localized::text(sourceNameKey(property, false));
    const QString language = QLocale().uiLanguages().value(0);
    return language.startsWith(QLatin1String("de")) ? name : name.toLower();
}

QString localizedCapitalizedExtractionSourceString(const QString &property)
{
    return Localized::text(sourceNameKey(property, true));
}

} // namespace TagExtractor
