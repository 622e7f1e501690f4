#include "command.h"

#include "coverscommand.h"
#include "readcommand.h"

const QList<OptionSpec> &Command::options() const
{
    static const QList<OptionSpec> none;
    return none;
}

std::vector<std::unique_ptr<Command>> makeAllCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<ReadCommand>());
    commands.push_back(std::make_unique<CoversCommand>());
    return commands;
}
