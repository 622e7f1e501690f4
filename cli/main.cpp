#include "arguments.h"
#include "clirunner.h"

#include "heaptuning.h"
#include "model/localized.h"
#include "quorlversion.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    HeapTuning::keepFreedMemory();
    // Read the words before the application object exists, with their bytes intact.
    const QList<Argument> arguments = argumentsFromArgv(argc, argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORL_VERSION));
    Localized::installStringTable();
    return CliRunner().run(arguments);
}
