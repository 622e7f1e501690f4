#pragma once

#include <QString>

// The string table. Every user-visible text is looked up by its key ("FileWasNotSaved");
// a key without an entry shows the key itself. Formats use %1, %2 for their arguments.
namespace Localized {

// Installs the embedded English table into the running QCoreApplication. Call once after the
// application object exists; lookups before that show the keys.
bool installStringTable();

QString text(const char *key);
QString text(const QString &key);

} // namespace Localized
