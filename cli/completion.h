#pragma once

#include <QString>

#include <memory>
#include <vector>

class Command;
struct OptionDefinition;

// The shell completion scripts of the tool, made from the same option definitions as its help:
// commands, options, the values an option takes (setting keys, fields, schemes, modes), file
// names where an option or operand takes a file, folder names where it takes a folder. The build
// writes them with "quorl-cli --print-completion bash|zsh".
namespace Completion {

// How the shell completes the value of an option.
enum class ValueKind {
    None,    // a flag
    Choices, // one of the option's choices
    List,    // choices separated by commas
    File,
    Folder,
    Text,    // anything: nothing to offer
};
ValueKind valueKind(const OptionDefinition &option);

// A script to source in bash: defines and registers the completion of "quorl-cli".
QString bash(const std::vector<std::unique_ptr<Command>> &commands);
// A zsh completion function file (#compdef quorl-cli), for a folder of $fpath.
QString zsh(const std::vector<std::unique_ptr<Command>> &commands);

} // namespace Completion
