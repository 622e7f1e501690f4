#pragma once

#include <QString>

#include <memory>
#include <vector>

class Command;

// The help texts of the tool.
namespace Usage {

QString general(const std::vector<std::unique_ptr<Command>> &commands);
QString forCommand(const Command &command);
// The line that follows a usage error.
QString hint();
QString version();

} // namespace Usage
