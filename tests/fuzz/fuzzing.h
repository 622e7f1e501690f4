#pragma once

#include "model/userdefaults.h"

#include <QLoggingCategory>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// What the fuzz targets share.
namespace Fuzzing {

// Ends the run as a finding when something the code under test promises does not hold.
inline void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The settings the code reads come from a store of the run's own, and the project's log output
// is off. With quietWarnings Qt's default warnings are off too: without the string table every
// message is its key, which Qt warns about on each refused input.
inline void prepareRun(bool quietWarnings)
{
    static QTemporaryDir settings;
    UserDefaults::shared().openStore(settings.filePath(QStringLiteral("settings.ini")));
    QLoggingCategory::setFilterRules(quietWarnings ? QStringLiteral("quorl.*=false\ndefault.warning=false")
                                                   : QStringLiteral("quorl.*=false"));
}

} // namespace Fuzzing
