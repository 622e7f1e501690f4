#pragma once

#include "arguments.h"
#include "command.h"

#include <memory>
#include <optional>
#include <vector>

// Runs one invocation of the tool: parses the command line, applies the setting overrides,
// loads the songs and runs the command. Returns the exit status, a failure when standard output
// could not be written.
class CliRunner {
public:
    CliRunner();
    ~CliRunner();
    CliRunner(const CliRunner &) = delete;
    CliRunner &operator=(const CliRunner &) = delete;

    int run(const QList<Argument> &arguments);

private:
    Command *find(const QString &name) const;
    ExitCode runLine(const QList<Argument> &arguments);
    // The hidden "--print-completion bash|zsh" and "--print-man" that the build runs to write the
    // completion scripts and the manual page; nullopt for any other command line.
    std::optional<ExitCode> printForBuild(const QList<Argument> &arguments) const;
    ExitCode usageError(const QString &message) const;
    ExitCode runCommand(Command &command, const GlobalOptions &global, const QList<Argument> &paths);

    std::vector<std::unique_ptr<Command>> m_commands;
};
