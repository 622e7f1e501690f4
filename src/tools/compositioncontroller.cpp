#include "tools/compositioncontroller.h"

#include "editor/editorcontroller.h"
#include "model/userdefaults.h"
#include "tools/tagcomposer.h"
#include "tools/tagextractor.h"
#include "tools/tokenutil.h"
#include "tools/toolpreferences.h"

const QString CompositionController::TitleAndTrackKey = QStringLiteral("COMPOSE_TITLE_AND_TRACK");
const QString CompositionController::CustomKey = QStringLiteral("COMPOSE_CUSTOM");
const QString CompositionController::CustomSchemeKey = QStringLiteral("COMPOSE_CUSTOM_SCHEME");
const QString CompositionController::TargetKey = QStringLiteral("COMPOSITION_TARGET");

const QStringList &CompositionController::patternKeys()
{
    static const QStringList keys{TitleAndTrackKey, CustomKey};
    return keys;
}

QList<CompositionController::Choice> CompositionController::targets()
{
    QList<Choice> choices;
    for (const QString &value : {QStringLiteral("title"), QStringLiteral("comment")})
        choices.append({TagExtractor::localizedCapitalizedExtractionSourceString(value), value});
    return choices;
}

CompositionController::CompositionController(EditorController &editor) : m_editor(editor) {}

void CompositionController::applyCompositionToSongs()
{
    applyCompositionToSongs(m_editor.selectedObjects());
}

void CompositionController::applyCompositionToSongs(const QList<Song *> &songs)
{
    const Pattern pattern = currentPattern();
    const QString target = currentTarget();
    for (Song *song : songs)
        TagComposer::composeTags(pattern, *song, target);
}

Pattern CompositionController::currentPattern()
{
    if (UserDefaults::shared().boolForKey(TitleAndTrackKey)) {
        return {TokenUtil::tokenWithToken(Token::Title), PatternElement::literal(QStringLiteral(" ")),
                TokenUtil::tokenWithToken(Token::Track)};
    }
    return PatternUtil::storedPattern(CustomSchemeKey);
}

QString CompositionController::currentTarget()
{
    if (UserDefaults::shared().boolForKey(TitleAndTrackKey))
        return QStringLiteral("title");
    return UserDefaults::shared().stringForKey(TargetKey);
}

void CompositionController::selectTitleAndTrack()
{
    ToolPreferences::selectOne(patternKeys(), TitleAndTrackKey);
}

void CompositionController::selectCustom()
{
    ToolPreferences::selectOne(patternKeys(), CustomKey);
}

void CompositionController::selectTarget(const QString &property)
{
    UserDefaults::shared().setObject(property, TargetKey);
}

Pattern CompositionController::customPattern() const
{
    return PatternUtil::storedPattern(CustomSchemeKey);
}

void CompositionController::saveCustom(const Pattern &pattern, bool andApply)
{
    PatternUtil::storePattern(pattern, CustomSchemeKey);
    if (andApply)
        applyCompositionToSongs();
}
