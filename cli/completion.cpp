#include "completion.h"

#include "command.h"

#include "model/localized.h"

namespace Completion {

namespace {

QStringList optionWords(const OptionDefinition &option)
{
    QStringList words;
    if (!option.shortName.isNull())
        words.append(QStringLiteral("-") + option.shortName);
    if (!option.longName.isEmpty())
        words.append(QStringLiteral("--") + option.longName);
    return words;
}

QStringList optionWords(const QList<OptionDefinition> &options)
{
    QStringList words;
    for (const OptionDefinition &option : options)
        words += optionWords(option);
    return words;
}

// ---- bash ----------------------------------------------------------------------------------

// The branch of a "case $prev" that completes the option's value.
QString bashValueBranch(const OptionDefinition &option, const QString &indent)
{
    const QString pattern = optionWords(option).join(QLatin1Char('|'));
    const QString words = option.choices.join(QLatin1Char(' '));
    switch (valueKind(option)) {
    case ValueKind::None:
        return QString();
    case ValueKind::Choices:
        // A choice that ends with "=" wants its value right after it.
        return indent + QStringLiteral("%1) _quorl_cli_offer 0 %2; return ;;\n").arg(pattern, words);
    case ValueKind::List:
        return indent + QStringLiteral("%1) _quorl_cli_offer 1 %2; return ;;\n").arg(pattern, words);
    case ValueKind::File:
        return indent + QStringLiteral("%1) _quorl_cli_paths -f; return ;;\n").arg(pattern);
    case ValueKind::Folder:
        return indent + QStringLiteral("%1) _quorl_cli_paths -d; return ;;\n").arg(pattern);
    case ValueKind::Text:
        return indent + QStringLiteral("%1) return ;;\n").arg(pattern);
    }
    return QString();
}

QString bashValueBranches(const QList<OptionDefinition> &options, const QString &indent)
{
    QString text;
    for (const OptionDefinition &option : options)
        text += bashValueBranch(option, indent);
    return text;
}

const char *const BashHelpers = R"(_quorl_cli_offer()
{
    # $1: 1 for a comma-separated list, whose last element is completed; then the words.
    local list=$1 prefix='' last=$cur
    shift
    # "KEY=" is complete; its value is free.
    [[ $last == *=* ]] && return
    if [[ $list == 1 ]]; then
        if [[ $last == *,* ]]; then prefix=${last%,*},; last=${last##*,}; fi
        if [[ $last == -* ]]; then prefix+=-; last=${last#-}; fi
    fi
    COMPREPLY=($(compgen -P "$prefix" -W "$*" -- "$last"))
    if [[ $list == 1 || ${COMPREPLY[0]} == *= ]]; then compopt -o nospace 2>/dev/null; fi
}

_quorl_cli_paths()
{
    COMPREPLY=($(compgen "$1" -- "$cur"))
    compopt -o filenames 2>/dev/null
}

)";

} // namespace

ValueKind valueKind(const OptionDefinition &option)
{
    if (option.valueName.isEmpty())
        return ValueKind::None;
    if (!option.choices.isEmpty())
        return option.valueName.contains(QLatin1Char(',')) ? ValueKind::List : ValueKind::Choices;
    if (option.valueName.contains(QLatin1String("FILE")))
        return ValueKind::File;
    if (option.valueName.contains(QLatin1String("DIR")))
        return ValueKind::Folder;
    return ValueKind::Text;
}

QString bash(const std::vector<std::unique_ptr<Command>> &commands)
{
    const QList<OptionDefinition> &global = globalOptionDefinitions();
    QStringList globalWithValue;
    for (const OptionDefinition &option : global)
        if (!option.valueName.isEmpty())
            globalWithValue += optionWords(option);
    QStringList names;
    QString commandBranches;
    for (const auto &command : commands) {
        names.append(command->name());
        commandBranches += QStringLiteral("        %1)\n            case $prev in\n%2            esac\n"
                                          "            options='%3'\n            subcommands='%4' ;;\n")
                               .arg(command->name(), bashValueBranches(command->options(), QStringLiteral("                ")),
                                    optionWords(command->options()).join(QLatin1Char(' ')),
                                    command->subcommands().join(QLatin1Char(' ')));
    }
    QString text = QStringLiteral("# Completion of quorl-cli for bash, made from the tool's own option definitions.\n\n");
    text += QLatin1String(BashHelpers);
    text += QStringLiteral(R"(_quorl_cli()
{
    # The words up to the cursor, split as the tool's parser sees them: "--opt=value" is an
    # option and its value.
    local line=${COMP_LINE:0:COMP_POINT}
    local -a words
    read -ra words <<< "$line"
    local cur=''
    if [[ $line != *[[:space:]] ]]; then cur=${words[-1]}; unset 'words[-1]'; fi
    local prev=${words[-1]}
    if [[ $cur == --*=* ]]; then prev=${cur%%=*}; cur=${cur#*=}; fi

    local command='' i
    for ((i = 1; i < ${#words[@]}; i++)); do
        case ${words[i]} in
            %1) ((i++)) ;;
            -*) ;;
            *) command=${words[i]}; break ;;
        esac
    done

    case $prev in
%2    esac
    local options='' subcommands=''
    case $command in
%3    esac

    if [[ $cur == -* ]]; then
        _quorl_cli_offer 0 %4 $options
    elif [[ -z $command ]]; then
        _quorl_cli_offer 0 %5
    elif [[ -n $subcommands && $prev == "$command" ]]; then
        _quorl_cli_offer 0 $subcommands
    else
        _quorl_cli_paths -f
    fi
}

complete -F _quorl_cli quorl-cli
)")
                .arg(globalWithValue.join(QLatin1Char('|')), bashValueBranches(global, QStringLiteral("        ")), commandBranches,
                     optionWords(global).join(QLatin1Char(' ')), names.join(QLatin1Char(' ')));
    return text;
}

// ---- zsh -----------------------------------------------------------------------------------

namespace {

// A text inside one single-quoted option description of _arguments, as the part in brackets.
QString zshDescription(const char *helpKey)
{
    QString text = Localized::text(helpKey);
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('['), QLatin1String("\\["))
        .replace(QLatin1Char(']'), QLatin1String("\\]"))
        .replace(QLatin1Char(':'), QLatin1String("\\:"))
        .replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return text;
}

QString zshAction(const OptionDefinition &option)
{
    const QString message = option.valueName;
    const QString words = option.choices.join(QLatin1Char(' '));
    switch (valueKind(option)) {
    case ValueKind::None: return QString();
    case ValueKind::Choices: return QStringLiteral(":%1:(%2)").arg(message, words);
    case ValueKind::List: return QStringLiteral(":%1:_sequence compadd - %2").arg(message, words);
    case ValueKind::File: return QStringLiteral(":%1:_files").arg(message);
    case ValueKind::Folder: return QStringLiteral(":%1:_files -/").arg(message);
    case ValueKind::Text: return QStringLiteral(":%1: ").arg(message);
    }
    return QString();
}

QString zshSpec(const OptionDefinition &option)
{
    const QStringList words = optionWords(option);
    // A short option with a value takes it in the same word too ("-DKEY=VALUE").
    const QString stick = option.valueName.isEmpty() || !option.longName.isEmpty() ? QString() : QStringLiteral("+");
    const QString body = QStringLiteral("[%1]%2'").arg(zshDescription(option.helpKey), zshAction(option));
    if (words.size() == 1)
        return QLatin1Char('\'') + words.first() + stick + body;
    return QStringLiteral("'(%1)'{%2}'").arg(words.join(QLatin1Char(' ')), words.join(QLatin1Char(','))) + body;
}

QString zshSpecs(const QList<OptionDefinition> &options, const QString &indent)
{
    QString text;
    for (const OptionDefinition &option : options)
        text += indent + zshSpec(option) + QLatin1Char('\n');
    return text;
}

} // namespace

QString zsh(const std::vector<std::unique_ptr<Command>> &commands)
{
    QString described;
    QString branches;
    for (const auto &command : commands) {
        described += QStringLiteral("    '%1:%2'\n").arg(command->name(), zshDescription(command->summaryKey()));
        QString operands = QStringLiteral("'*:path:_files'");
        if (!command->subcommands().isEmpty())
            operands = QStringLiteral("'1:action:(%1)' '*:path:_files'").arg(command->subcommands().join(QLatin1Char(' ')));
        branches += QStringLiteral("        %1)\n          _arguments -s $global \\\n%2            %3 ;;\n")
                        .arg(command->name(), zshSpecs(command->options(), QStringLiteral("            ")).replace(
                                                  QLatin1String("\n"), QLatin1String(" \\\n")), operands);
    }
    return QStringLiteral(R"(#compdef quorl-cli
# Completion of quorl-cli for zsh, made from the tool's own option definitions.

_quorl_cli() {
  local curcontext=$curcontext state line
  local -a global commands
  global=(
%1  )
  commands=(
%2  )
  _arguments -C -s $global '1:command:->command' '*::argument:->argument' && return
  case $state in
    command)
      _describe -t commands command commands ;;
    argument)
      case $words[1] in
%3      esac ;;
  esac
}

_quorl_cli "$@"
)")
        .arg(zshSpecs(globalOptionDefinitions(), QStringLiteral("    ")), described, branches);
}

} // namespace Completion
