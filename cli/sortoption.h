#pragma once

#include "editor/editorcontroller.h"
#include "model/result.h"

#include <QList>
#include <QString>
#include <QStringList>

// The global --sort option: song properties separated by commas, each ascending or, with a
// leading "-", descending ("-year,track"). The songs are ordered by the first, then by the next
// among equals, with the comparisons of the song table (numbers in natural order).
namespace SortOption {

// The song properties the option takes, in the order the help lists them.
const QStringList &keys();

// A usage error for an empty list or a key that is not a sortable property.
Result<QList<SortDescriptor>> parse(const QString &text);

} // namespace SortOption
