#pragma once

#include "arguments.h"

#include "editor/editorcontroller.h"

#include "model/result.h"

#include <QChar>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

// One option a command (or the tool itself) accepts. An option with an empty valueName is a
// flag; otherwise it takes one value, given as "--name value", "--name=value" or, for a short
// option, "-x value" and "-xvalue".
struct OptionDefinition {
    QString longName;         // without the leading "--"; may be empty for a short-only option
    QChar shortName;          // null when there is none
    QString valueName;        // shown in the help, e.g. "DIR"
    const char *helpKey = nullptr;
    // The values the option takes, offered by the shell completion; empty for any value.
    QStringList choices = {};
};

// The options a command received, in command-line order.
class ParsedOptions {
public:
    void add(const QString &name, const QString &value) { m_entries.append({name, value}); }

    bool has(const QString &name) const;
    // The last value given for the option (an option given twice keeps the later value).
    QString value(const QString &name) const;
    QStringList values(const QString &name) const;
    const QList<QPair<QString, QString>> &entries() const { return m_entries; }

private:
    QList<QPair<QString, QString>> m_entries;
};

// The options that every command accepts.
struct GlobalOptions {
    QList<QPair<QString, QVariant>> settingOverrides; // -D KEY=VALUE, parsed, in order
    bool json = false;
    bool dryRun = false;
    bool force = false;
    bool yes = false;
    bool quiet = false;
    // --sort: the order of the loaded songs before the command; empty for the loading order.
    QList<SortDescriptor> sortOrder;
    bool help = false;
    bool version = false;
};

const QList<OptionDefinition> &globalOptionDefinitions();

// What the command line asks for. commandName is empty only when --help or --version came
// before any command.
struct CommandLine {
    GlobalOptions global;
    QString commandName;
    ParsedOptions commandOptions;
    QList<Argument> operands;
};

// Tells the parser which options a command takes; returns nullptr for an unknown command.
using CommandOptionsLookup = std::function<const QList<OptionDefinition> *(const QString &commandName)>;

// Splits the words into global options, the command, its options and the operands. Global
// options may stand before or after the command name; "--" ends the options. Every failure is
// a usage error with a message ready to print.
Result<CommandLine> parseCommandLine(const QList<Argument> &arguments,
                                     const CommandOptionsLookup &commandOptions);

// "-D KEY=VALUE": the setting must be known and the value must parse for it.
Result<QPair<QString, QVariant>> parseSettingOverride(const QString &assignment);
