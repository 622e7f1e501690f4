#include "composecommand.h"

#include "model/localized.h"
#include "model/userdefaults.h"
#include "tools/compositioncontroller.h"

namespace {

const QString TargetOption = QStringLiteral("target");

QList<ToolSelection::Choice> targets()
{
    QList<ToolSelection::Choice> choices;
    for (const CompositionController::Choice &choice : CompositionController::targets())
        choices.append({choice.value, choice.value});
    return choices;
}

} // namespace

ComposeCommand::ComposeCommand()
    : m_scheme({{QStringLiteral("title-track"), CompositionController::TitleAndTrackKey},
                {QStringLiteral("custom"), CompositionController::CustomKey}},
               CompositionController::patternKeys(), CompositionController::CustomKey,
               CompositionController::CustomSchemeKey)
{
    m_scheme.setCustomWhenNoneSelected(true);
}

const QList<OptionDefinition> &ComposeCommand::options() const
{
    static const QList<OptionDefinition> definitions = {
        m_scheme.schemeText("CliHelpOptionComposeScheme"),
        ToolSelection::SchemeOptions::patternText(),
        {TargetOption, QChar(), QStringLiteral("FIELD"), "CliHelpOptionTarget", ToolSelection::names(targets())},
    };
    return definitions;
}

Result<void> ComposeCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    if (Result<void> scheme = m_scheme.parse(options); !scheme)
        return scheme;
    if (!options.has(TargetOption))
        return {};
    Result<QString> target = ToolSelection::choose(targets(), TargetOption, options.value(TargetOption));
    if (!target)
        return target.error();
    // The fixed scheme always writes the title: a target given with it would silently do
    // nothing.
    if (m_scheme.effectiveKey() == CompositionController::TitleAndTrackKey)
        return Error{ErrorCode::InvalidArgument, Localized::text("CliTargetNeedsCustomScheme")};
    m_target = target.value();
    return {};
}

CommandOutcome ComposeCommand::apply(CommandContext &context)
{
    m_scheme.selectForRun();
    if (!m_target.isNull())
        UserDefaults::shared().setOverride(CompositionController::TargetKey, m_target);
    CompositionController composition(*context.editor);
    composition.applyCompositionToSongs();
    // Composition never fails.
    return {};
}
