#include "extractcommand.h"

#include "model/localized.h"
#include "model/userdefaults.h"
#include "tools/extractioncontroller.h"

namespace {

const QString SourceOption = QStringLiteral("source");

QList<ToolSelection::Choice> sources()
{
    QList<ToolSelection::Choice> choices;
    for (const ExtractionController::Choice &choice : ExtractionController::sources())
        choices.append({choice.value, choice.value});
    return choices;
}

} // namespace

ExtractCommand::ExtractCommand()
    : m_scheme({{QStringLiteral("track-title"), ExtractionController::TrackAndTitleKey},
                {QStringLiteral("track-artist-title"), ExtractionController::TrackArtistAndTitleKey},
                {QStringLiteral("custom"), ExtractionController::CustomKey}},
               ExtractionController::patternKeys(), ExtractionController::CustomKey,
               ExtractionController::CustomSchemeKey)
{
    m_scheme.setCustomWhenNoneSelected(true);
}

const QList<OptionDefinition> &ExtractCommand::options() const
{
    static const QList<OptionDefinition> definitions = {
        m_scheme.schemeText("CliHelpOptionExtractScheme"),
        ToolSelection::SchemeOptions::patternText(),
        {SourceOption, QChar(), QStringLiteral("SOURCE"), "CliHelpOptionSource", ToolSelection::names(sources())},
    };
    return definitions;
}

Result<void> ExtractCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    if (Result<void> scheme = m_scheme.parse(options); !scheme)
        return scheme;
    // Two neighbouring tokens cannot be told apart in the text.
    if (m_scheme.pattern() && !ExtractionController::isValidPattern(*m_scheme.pattern()))
        return Error{ErrorCode::InvalidArgument, Localized::text("CliPatternHasNeighbouringTokens")};
    if (options.has(SourceOption)) {
        Result<QString> source = ToolSelection::choose(sources(), SourceOption, options.value(SourceOption));
        if (!source)
            return source.error();
        m_source = source.value();
    }
    return {};
}

CommandOutcome ExtractCommand::apply(CommandContext &context)
{
    m_scheme.selectForRun();
    if (!m_source.isNull())
        UserDefaults::shared().setOverride(ExtractionController::SourceKey, m_source);
    ExtractionController extraction(*context.editor);
    return CommandOutcome::of(extraction.applyExtractionToSongs());
}
