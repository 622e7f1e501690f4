#pragma once

#include <QString>

#include <memory>
#include <vector>

class Command;

// The manual page quorl-cli(1), in roff, made from the same option definitions and texts as the
// help. The build writes it with "quorl-cli --print-man".
namespace ManPage {

QString roff(const std::vector<std::unique_ptr<Command>> &commands);

} // namespace ManPage
