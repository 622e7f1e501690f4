#include "namecommand.h"

#include "tools/namingcontroller.h"

NameCommand::NameCommand()
    : m_scheme({{QStringLiteral("artist-title"), NamingController::ArtistAndTitleKey},
                {QStringLiteral("track-title"), NamingController::TrackAndTitleKey},
                {QStringLiteral("track-artist-title"), NamingController::TrackArtistAndTitleKey},
                {QStringLiteral("custom"), NamingController::CustomKey}},
               NamingController::schemeKeys(), NamingController::CustomKey, NamingController::CustomSchemeKey)
{
}

const QList<OptionDefinition> &NameCommand::options() const
{
    static const QList<OptionDefinition> definitions = {
        m_scheme.schemeText("CliHelpOptionNameScheme"),
        ToolSelection::SchemeOptions::patternText(),
    };
    return definitions;
}

Result<void> NameCommand::parseOptions(const ParsedOptions &options, QList<Argument> *operands)
{
    Q_UNUSED(operands);
    return m_scheme.parse(options);
}

CommandOutcome NameCommand::apply(CommandContext &context)
{
    m_scheme.selectForRun();
    NamingController naming(*context.editor);
    return CommandOutcome::of(naming.applyNamingToSongs());
}
