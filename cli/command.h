#pragma once

#include "arguments.h"
#include "options.h"

#include "model/result.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class EditorController;
class TerminalUserInterface;

// The exit status of the tool; scripts depend on these values.
enum class ExitCode {
    Success = 0,
    Failures = 1, // the command or the save reported failures
    Usage = 2,    // unknown command or option, bad pattern, unknown setting, missing argument
    Interrupted = 130, // Ctrl-C (SIGINT) stopped a save after the file in hand
    Terminated = 143,  // SIGTERM did
};

// What a command runs on: the global options and, for a command that loads songs, the editor
// holding them (its whole list is the selection).
struct CommandContext {
    const GlobalOptions &global;
    EditorController *editor = nullptr;
    TerminalUserInterface *ui = nullptr;
};

// One command of the tool. The runner parses the command line against options(), hands the
// result to parseOptions(), loads the remaining operands as songs when loadsSongs() says so, and
// calls run(). A command object lives for one run.
class Command {
public:
    virtual ~Command() = default;

    virtual QString name() const = 0;
    // Keys of the string table: one line for the command list, and the operand synopsis.
    virtual const char *summaryKey() const = 0;
    virtual QString synopsis() const { return QStringLiteral("PATH..."); }
    virtual const QList<OptionDefinition> &options() const;
    // The words a command takes as its first operand ("search", "apply"), for the completion;
    // empty when the operands are paths.
    virtual QStringList subcommands() const { return {}; }

    // Checks the command's options and takes any leading operands it needs (a TSV file, a
    // search text) out of operands; what is left are the paths to load. A failure is a usage
    // error whose detail is the message.
    virtual Result<void> parseOptions(const ParsedOptions &options, QList<Argument> *operands) = 0;

    virtual bool loadsSongs() const { return true; }
    virtual ExitCode run(CommandContext &context) = 0;
};

// Every command of the tool, in the order the help lists them.
std::vector<std::unique_ptr<Command>> makeAllCommands();
