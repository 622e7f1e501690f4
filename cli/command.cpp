#include "command.h"

#include "allinonecommand.h"
#include "discogscommand.h"
#include "casecommand.h"
#include "composecommand.h"
#include "coverscommand.h"
#include "editcommand.h"
#include "exportcommand.h"
#include "extractcommand.h"
#include "importcommand.h"
#include "namecommand.h"
#include "numbercommand.h"
#include "readcommand.h"

const QList<OptionDefinition> &Command::options() const
{
    static const QList<OptionDefinition> none;
    return none;
}

std::vector<std::unique_ptr<Command>> makeAllCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<ReadCommand>());
    commands.push_back(std::make_unique<EditCommand>());
    commands.push_back(std::make_unique<NameCommand>());
    commands.push_back(std::make_unique<ExtractCommand>());
    commands.push_back(std::make_unique<ComposeCommand>());
    commands.push_back(std::make_unique<NumberCommand>());
    commands.push_back(std::make_unique<CaseCommand>());
    commands.push_back(std::make_unique<AllInOneCommand>());
    commands.push_back(std::make_unique<ExportCommand>());
    commands.push_back(std::make_unique<ImportCommand>());
    commands.push_back(std::make_unique<CoversCommand>());
    commands.push_back(std::make_unique<DiscogsCommand>());
    return commands;
}
