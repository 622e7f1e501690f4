#include "tools/extractioncontroller.h"

#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tools/tagextractor.h"
#include "tools/tokenutil.h"
#include "tools/toolpreferences.h"

#include <optional>

const QString ExtractionController::TrackAndTitleKey = QStringLiteral("EXTRACT_TRACK_AND_TITLE");
const QString ExtractionController::TrackArtistAndTitleKey = QStringLiteral("EXTRACT_TRACK_ARTIST_AND_TITLE");
const QString ExtractionController::CustomKey = QStringLiteral("EXTRACT_CUSTOM");
const QString ExtractionController::CustomSchemeKey = QStringLiteral("EXTRACT_CUSTOM_SCHEME");
const QString ExtractionController::SourceKey = QStringLiteral("EXTRACTION_SOURCE");

namespace {

PatternElement token(Token token)
{
    return TokenUtil::tokenWithToken(token);
}

PatternElement literal(const char *text)
{
    return PatternElement::literal(QString::fromLatin1(text));
}

} // namespace

const QStringList &ExtractionController::patternKeys()
{
    static const QStringList keys{TrackAndTitleKey, TrackArtistAndTitleKey, CustomKey};
    return keys;
}

QList<ExtractionController::Choice> ExtractionController::sources()
{
    QList<Choice> choices;
    for (const QString &value : {QStringLiteral("fileNameWithoutExtension"), QStringLiteral("title")})
        choices.append({TagExtractor::localizedCapitalizedExtractionSourceString(value), value});
    return choices;
}

ExtractionController::ExtractionController(EditorController &editor) : m_editor(editor) {}

BatchReport ExtractionController::applyExtractionToSongs()
{
    return applyExtractionToSongs(m_editor.selectedObjects());
}

BatchReport ExtractionController::applyExtractionToSongs(const QList<Song *> &songs)
{
    const Pattern pattern = currentPattern();
    const QString source = UserDefaults::shared().stringForKey(SourceKey);

    BatchReport report;
    for (Song *song : songs) {
        const std::optional<QString> failure = TagExtractor::extractTags(pattern, *song, source);
        if (failure && report.countFailure(*song))
            report.appendEntry(Localized::text("WasNotTaggedCompletelyNewLine").arg(song->fileName(), *failure));
    }
    report.finish();
    const QString informative = Localized::text("MakeSurePatternAndSourceMatch")
                                    .arg(TagExtractor::localizedLowercaseExtractionSourceString(source));
    report.show(m_editor.questions(), QStringLiteral("CouldNotTag1OrMoreSongs"), QString(), informative);
    return report;
}

Pattern ExtractionController::currentPattern()
{
    const UserDefaults &defaults = UserDefaults::shared();
    if (defaults.boolForKey(TrackAndTitleKey))
        return {token(Token::Track), literal(" "), token(Token::Title)};
    if (defaults.boolForKey(TrackArtistAndTitleKey))
        return {token(Token::Track), literal(" - "), token(Token::Artist), literal(" - "), token(Token::Title)};
    // Whatever EXTRACT_CUSTOM holds.
    return PatternUtil::storedPattern(CustomSchemeKey);
}

bool ExtractionController::isValidPattern(const Pattern &pattern)
{
    return !PatternUtil::hasNeighbouringTokens(pattern);
}

void ExtractionController::selectTrackAndTitle()
{
    ToolPreferences::selectOne(patternKeys(), TrackAndTitleKey);
}

void ExtractionController::selectTrackArtistAndTitle()
{
    ToolPreferences::selectOne(patternKeys(), TrackArtistAndTitleKey);
}

void ExtractionController::selectCustom()
{
    ToolPreferences::selectOne(patternKeys(), CustomKey);
}

void ExtractionController::selectSource(const QString &property)
{
    UserDefaults::shared().setObject(property, SourceKey);
}

Pattern ExtractionController::customPattern() const
{
    return PatternUtil::storedPattern(CustomSchemeKey);
}

void ExtractionController::saveCustom(const Pattern &pattern, bool andApply)
{
    PatternUtil::storePattern(pattern, CustomSchemeKey);
    if (andApply)
        applyExtractionToSongs();
}
