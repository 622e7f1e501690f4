#include "clirunner.h"

#include "completion.h"
#include "console.h"
#include "manpage.h"
#include "songloader.h"
#include "terminalui.h"
#include "usage.h"

#include "editor/editorcontroller.h"
#include "editor/settingsregistry.h"
#include "model/localized.h"
#include "model/userdefaults.h"

CliRunner::CliRunner() : m_commands(makeAllCommands()) {}

CliRunner::~CliRunner() = default;

Command *CliRunner::find(const QString &name) const
{
    for (const auto &command : m_commands)
        if (command->name() == name)
            return command.get();
    return nullptr;
}

ExitCode CliRunner::usageError(const QString &message) const
{
    Console::errLine(QStringLiteral("quorl-cli: ") + message);
    Console::errLine(Usage::hint());
    return ExitCode::Usage;
}

int CliRunner::run(const QList<Argument> &arguments)
{
    ExitCode code = runLine(arguments);
    // Every write to standard output has been flushed and checked by now: a script must not take
    // a cut-off listing for a whole one.
    const QString outputError = Console::outputError();
    if (!outputError.isEmpty()) {
        Console::errLine(QStringLiteral("quorl-cli: ") + Localized::text("CliCannotWriteOutputX").arg(outputError));
        if (code == ExitCode::Success)
            code = ExitCode::Failures;
    }
    return int(code);
}

ExitCode CliRunner::runLine(const QList<Argument> &arguments)
{
    // Overrides are parsed against the registered settings, so they must be known first.
    SettingsRegistry::registerDefaults();
    if (std::optional<ExitCode> printed = printForBuild(arguments))
        return *printed;

    const auto lookup = [this](const QString &name) -> const QList<OptionDefinition> * {
        const Command *command = find(name);
        return command ? &command->options() : nullptr;
    };
    Result<CommandLine> parsed = parseCommandLine(arguments, lookup);
    if (!parsed)
        return usageError(parsed.error().detail);
    CommandLine &line = parsed.value();
    Command *command = find(line.commandName);

    if (line.global.help) {
        Console::out(command ? Usage::forCommand(*command) : Usage::general(m_commands));
        return ExitCode::Success;
    }
    if (line.global.version) {
        Console::out(Usage::version());
        return ExitCode::Success;
    }
    for (const auto &[key, value] : line.global.settingOverrides)
        UserDefaults::shared().setOverride(key, value);

    Result<void> options = command->parseOptions(line.commandOptions, &line.operands);
    if (!options)
        return usageError(options.error().detail);
    return runCommand(*command, line.global, line.operands);
}

std::optional<ExitCode> CliRunner::printForBuild(const QList<Argument> &arguments) const
{
    const QString first = arguments.isEmpty() ? QString() : arguments.first().text;
    if (first == u"--print-man" && arguments.size() == 1) {
        Console::out(ManPage::roff(m_commands));
        return ExitCode::Success;
    }
    if (first != u"--print-completion")
        return std::nullopt;
    const QString shell = arguments.size() == 2 ? arguments.at(1).text : QString();
    if (shell == u"bash")
        Console::out(Completion::bash(m_commands));
    else if (shell == u"zsh")
        Console::out(Completion::zsh(m_commands));
    else
        return usageError(Localized::text("CliBadChoiceXYZ").arg(shell, first, QStringLiteral("bash, zsh")));
    return ExitCode::Success;
}

ExitCode CliRunner::runCommand(Command &command, const GlobalOptions &global, const QList<Argument> &paths)
{
    TerminalUserInterface ui(global.yes);
    ui.setQuiet(global.quiet);
    if (!command.loadsSongs()) {
        CommandContext context{global, nullptr, &ui};
        return command.run(context);
    }
    if (paths.isEmpty())
        return usageError(Localized::text("CliMissingPaths"));
    EditorController editor(&ui);
    ui.setSongList(&editor.songs());
    const SongLoader::Outcome loaded = SongLoader::load(&editor, ui, paths);
    if (loaded.cancelled)
        return ExitCode::Failures;
    editor.sortUsingDescriptors(global.sortOrder);
    CommandContext context{global, &editor, &ui};
    const ExitCode code = command.run(context);
    // The songs that were loaded have been handled; the paths that were not make it a failure.
    return code == ExitCode::Success && loaded.skippedPaths > 0 ? ExitCode::Failures : code;
}
