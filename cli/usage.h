#pragma once

#include "command.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

// The help texts of the tool.
namespace Usage {

QString general(const std::vector<std::unique_ptr<Command>> &commands);
// The exit codes with the keys of their texts, as the help lists them.
const std::vector<std::pair<ExitCode, const char *>> &exitStatuses();
QString forCommand(const Command &command);
// The line that follows a usage error.
QString hint();
QString version();

} // namespace Usage
